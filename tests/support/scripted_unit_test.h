// Tests of exports that talk to a unit through the transfer link: a scripted unit answers in
// place of the engine, and every pause the library takes runs a thousand times faster.
#pragma once

#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "support/module_fixture.h"
#include "support/scripted_unit.h"
#include "transfer/engine_link.h"

namespace quibra::testing {

class ScriptedUnitTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_clock(&clock_);
    transfer::set_transfer_link(&unit_);
  }
  void TearDown() override {
    ModuleTest::TearDown();
    transfer::set_transfer_link(nullptr);
    platform::set_clock(nullptr);
  }

  platform::ScaledClock clock_{0.001};
  ScriptedUnit unit_;
};

}  // namespace quibra::testing

// Tests that talk to a simulated unit over a real pty through the library's exports, with the
// clock sped up a hundredfold.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "frame/module.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "support/fault_port.h"
#include "support/module_fixture.h"
#include "unit.h"

namespace quibra::testing {

class SimUnitTest : public ModuleTest {
 protected:
  SimUnitTest(int32_t type, int32_t version) : unit_{type, version} {}

  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_clock(&clock_);
    // The engine clears its output 50 ms after a write; at the test's clock scale that is too
    // soon for the unit's thread, while a real line has long sent the bytes.
    port_.keep_output_on_purge = true;
    platform::set_byte_port(&port_);
  }
  void TearDown() override {
    frame::UnloadModule();  // the engine stops before the line goes
    link_.stop();
    platform::set_byte_port(nullptr);
    platform::set_clock(nullptr);
    ModuleTest::TearDown();
  }
  // Starts the unit's end of the pty and the library's conversation on the other.
  void open() {
    const std::string path = link_.start();
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(fnQuibra_StartIRCommunication(0, path.c_str()), 1);
  }

  platform::ScaledClock clock_{0.01};
  FaultPort port_;
  sim::Unit unit_;
  sim::SerialLink link_{unit_, false, std::chrono::milliseconds{10}};
};

}  // namespace quibra::testing

// A simulated unit on a pty with the library's engine talking to it: the older units on a serial
// line, the running and cycling units (33..38) in range of a stand-in IrDA stack whose line to
// them is the pty (their identification and memory commands outgrow a serial frame).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "frame/module.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "irda_pty_peer.h"
#include "irda_stack.h"
#include "protocol/engine.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "support/module_fixture.h"
#include "unit.h"

namespace quibra::testing {

class PrvcUnit {
 public:
  ~PrvcUnit() { detach(); }

  // Ends the last unit's conversation and puts a new unit in its place. An older unit goes on
  // the IrDA stack too when `irda_too` is set.
  sim::Unit& attach(int32_t type, int32_t variant, int32_t code, bool irda_too = false) {
    protocol::StopMessageThread(module());
    detach();
    unit_ = std::make_unique<sim::Unit>(type, variant, code);
    const bool irda = type >= 33 || irda_too;
    serial_ = std::make_unique<sim::SerialLink>(
        *unit_, false, std::chrono::milliseconds(20),
        irda ? sim::SerialLink::Framing::ShortFormBlocks : sim::SerialLink::Framing::Serial);
    const std::string path = serial_->start();
    EXPECT_FALSE(path.empty());
    if (!irda) {
      EXPECT_EQ(fnQuibra_StartIRCommunication(0, path.c_str()), 1);
      return *unit_;
    }
    peer_ = std::make_unique<sim::IrdaPtyPeer>(path);
    stack_ = std::make_unique<sim::IrdaStack>();
    sim::IrdaPtyPeer* peer = peer_.get();
    stack_->add_device(peer->device_name(),
                       [peer](std::span<const uint8_t> r) { return peer->exchange(r); });
    EXPECT_EQ(fnQuibraExt_SetIrdaStack(&stack_->table()), 1);
    EXPECT_EQ(fnQuibra_StartIRCommunication(0x20, "IRDA"), 1);
    return *unit_;
  }
  sim::Unit& attach(int32_t type, int32_t variant = 0) {
    return attach(type, variant, sim::DefaultProductCode(type));
  }

  // Call after the module's engine has stopped: the unit answers until then.
  void detach() {
    fnQuibraExt_SetIrdaStack(nullptr);
    stack_.reset();
    peer_.reset();
    serial_.reset();
    unit_.reset();
  }

  sim::Unit& unit() { return *unit_; }

  // How many requests of a message the unit received.
  size_t count(int32_t id) const {
    size_t n = 0;
    for (const auto& r : unit_->requests())
      n += r.id == id ? 1 : 0;
    return n;
  }

 private:
  std::unique_ptr<sim::Unit> unit_;
  std::unique_ptr<sim::IrdaStack> stack_;
  std::unique_ptr<sim::IrdaPtyPeer> peer_;
  std::unique_ptr<sim::SerialLink> serial_;
};

// A loaded module talking to a simulated unit on `line_`, with the clock sped up. The module's
// tear-down comes first, so the engine's threads end while the unit still answers.
class PrvcUnitTest : public ModuleTest {
 protected:
  explicit PrvcUnitTest(double clock_scale = 0.01) : clock_{clock_scale} {}
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_clock(&clock_);
  }
  void TearDown() override {
    ModuleTest::TearDown();
    line_.detach();
    platform::set_clock(nullptr);
  }

  platform::ScaledClock clock_;
  PrvcUnit line_;
};

}  // namespace quibra::testing

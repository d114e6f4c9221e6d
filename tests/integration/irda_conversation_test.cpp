// The engine on IrDA sockets against simulated units in an in-process IrDA stack: connecting,
// the short form on the wire, the receive thread, answers that are refused, a lost link and the
// search for units in range.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/state_flags.h"
#include "irda_stack.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/final_status.h"
#include "support/module_fixture.h"
#include "unit.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int32_t kIrda = 0x20;

class IrdaConversation : public ModuleTest {
 protected:
  void SetUp() override {
    platform::set_clock(&clock_);
    ASSERT_EQ(fnQuibraExt_SetIrdaStack(&stack_.table()), 1);
    ModuleTest::SetUp();
  }
  void TearDown() override {
    ModuleTest::TearDown();  // both threads end while the stack is still there
    fnQuibraExt_SetIrdaStack(nullptr);
    platform::set_clock(nullptr);
  }

  // Sends a message and waits for the final status.
  static int32_t Exchange(int32_t id, int32_t param) {
    if (fnQuibra_SendIRComMessage(id, param) != 1) return -2;
    return WaitFinalStatus();
  }

  static bool WaitConnected() {
    for (int i = 0; i < 5000 && fnQuibra_IsIrDAConnected() == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return fnQuibra_IsIrDAConnected() == 1;
  }

  platform::ScaledClock clock_{0.02};
  sim::IrdaStack stack_;
};

TEST_F(IrdaConversation, RefusedAnswersAreSentAgainUntilTheTriesRunOut) {
  // A 9004 answer for exercise set 3 that names set 2, and an acknowledgement that refuses.
  std::atomic<int> asked{0};
  std::atomic<int> good_from{1000};
  stack_.add_device("Orvek K55T", [&](std::span<const uint8_t> r) {
    const int n = ++asked;
    if (r[0] == 4) {
      Bytes answer(28, 0);
      answer[0] = 4;
      answer[1] = n >= good_from ? r[1] : 2;
      return answer;
    }
    if (r[0] == 1) return Bytes{1, 1};
    return Bytes{};
  });
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_TRUE(WaitConnected());
  EXPECT_EQ(Exchange(9004, 3), 30);
  EXPECT_EQ(asked, 5);
  for (const Bytes& r : stack_.requests())
    EXPECT_EQ(r, (Bytes{4, 3}));

  asked = 0;
  good_from = 3;
  EXPECT_EQ(Exchange(9004, 3), 10);
  EXPECT_EQ(asked, 3);

  asked = 0;
  EXPECT_EQ(Exchange(9001, 1), 30);
  EXPECT_EQ(asked, 5);
}

TEST_F(IrdaConversation, ALostLinkIsConnectedAgainAndTheMessageGoesOn) {
  sim::Unit unit(37, 1, 173);
  stack_.add_device("Orvek PR9",
                    [&unit](std::span<const uint8_t> r) { return unit.handle_short_form(r); });
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_TRUE(WaitConnected());
  stack_.reset_link_on_next_send();
  EXPECT_EQ(Exchange(9021, 1), 10);
  EXPECT_EQ(stack_.connects(), 2);
  EXPECT_EQ(module().unit.type, 37);
}

TEST_F(IrdaConversation, NobodyInRangeLeavesTheMessageWaitingUntilAUnitComes) {
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_EQ(fnQuibra_SendIRComMessage(9021, 1), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(fnQuibra_IsIrDAConnected(), 0);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 0);

  sim::Unit unit(33, 0, 164);
  stack_.add_device("Orvek VC6",
                    [&unit](std::span<const uint8_t> r) { return unit.handle_short_form(r); });
  EXPECT_EQ(WaitFinalStatus(), 10);
  EXPECT_EQ(module().unit.type, 33);
}

TEST_F(IrdaConversation, EndingClosesEverythingItOpened) {
  sim::Unit unit(36, 0, 172);
  stack_.add_device("Orvek PR6",
                    [&unit](std::span<const uint8_t> r) { return unit.handle_short_form(r); });
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_TRUE(WaitConnected());
  // An idle link is tested with empty sends.
  for (int i = 0; i < 2000 && stack_.empty_sends() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_GE(stack_.empty_sends(), 3);
  // A receive waiting for an answer that never comes ends with the conversation.
  unit.queue_fault(sim::Fault::Silence());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9021, 1), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  fnQuibra_EndIRCommunication(0);
  // End returns once both threads have ended (a program may return from main right after it),
  // so a new conversation starts afresh at once.
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagEngineRunning), 0);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagIrdaReceiveRunning), 0);
  unit.clear_faults();
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  EXPECT_EQ(Exchange(9021, 1), 10);
  fnQuibra_EndIRCommunication(0);
  frame::UnloadModule();
  EXPECT_EQ(stack_.startups(), stack_.cleanups());
  EXPECT_EQ(stack_.open_sockets(), 0);
  frame::LoadModule();
}

TEST_F(IrdaConversation, DeviceSearchReportsTheLastRecognisedUnit) {
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 0);  // nobody in range
  const auto none = [](std::span<const uint8_t>) { return Bytes{}; };
  stack_.add_device("Phone", none);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), -1);
  stack_.add_device("Orvek TRK 2", none);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 20);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(0, 0), 1);
  stack_.add_device("Orvek PR6", none);
  stack_.add_device("Orvek x", none);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 36);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(0, 0), 1);
  stack_.remove_all_devices();
  stack_.add_device("Orvek TRK2", none);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 20);
  stack_.add_device("Reserved", none);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(0, 0), 1000);
  stack_.fail_startup(10091);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 10091);
  EXPECT_EQ(stack_.startups(), stack_.cleanups());
  EXPECT_EQ(stack_.open_sockets(), 0);
}

TEST_F(IrdaConversation, WithoutAStackNothingStarts) {
  ASSERT_EQ(fnQuibraExt_SetIrdaStack(nullptr), 1);  // this system's own: it has no IrDA
  EXPECT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 0);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagPortOpenFailed), 1);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 20);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 10047);
  // A table that lacks a function is refused and the stack in force stays.
  QuibraIrdaStack partial = stack_.table();
  partial.Receive = nullptr;
  EXPECT_EQ(fnQuibraExt_SetIrdaStack(&partial), 0);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 10047);
  stack_.fail_startup(10091);
  ASSERT_EQ(fnQuibraExt_SetIrdaStack(&stack_.table()), 1);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), 10091);
  EXPECT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 0);
}

}  // namespace
}  // namespace quibra::testing

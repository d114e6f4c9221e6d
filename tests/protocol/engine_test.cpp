// The engine against a scripted unit on a pty: the real port, thread, pauses (scaled) and wire.
#include "protocol/engine.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "frame/lifecycle.h"
#include "frame/state_flags.h"
#include "protocol/fake_unit.h"
#include "protocol/message_image.h"
#include "support/final_status.h"
#include "support/forwarding_clock.h"

namespace quibra::protocol {
namespace {

using testing::AnswerFrame;
using testing::Bytes;
using testing::FaultPort;
using testing::kPlainSerial;
using EngineTest = testing::FakeUnitTest;

Bytes Payload(size_t n, uint8_t first) {
  Bytes p(n);
  for (size_t i = 0; i < n; ++i)
    p[i] = static_cast<uint8_t>(first + i);
  return p;
}

TEST_F(EngineTest, SendBeforeStartIsRefused) {
  EXPECT_EQ(fnQuibra_SendIRComMessage(9002, 1), 0);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 20);
}

TEST_F(EngineTest, RecodingChangesTheBytesOnTheWire) {
  ASSERT_TRUE(start(0));  // recoding on
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 1), 1);
  Bytes wire;
  for (int i = 0; i < 200 && wire.size() < 7; ++i) {
    Bytes got = pty_.receive(10);
    wire.insert(wire.end(), got.begin(), got.end());
  }
  ASSERT_GE(wire.size(), 7u);
  wire.resize(7);
  EXPECT_EQ(wire, (Bytes{0x34, 0xAB, 0x55, 0x55, 0x56, 0xDC, 0x26}));
}

TEST_F(EngineTest, RefusedAcknowledgementIsSentAgainUntilTheTriesAreUsed) {
  start_unit([](const Bytes& r) { return AnswerFrame(r[1], {0x01}); });
  ASSERT_TRUE(start());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9003, 1), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 30);
  EXPECT_EQ(unit_->request_count(), 5u);
}

TEST_F(EngineTest, FlippedBitIsRetriedFiveTimesThenNoAnswer) {
  start_unit([](const Bytes& r) {
    Bytes answer = AnswerFrame(r[1], Payload(11, 0x20));
    answer[8] ^= 0x04;
    return answer;
  });
  ASSERT_TRUE(start());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 1), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 30);
  EXPECT_EQ(unit_->request_count(), 5u);
  EXPECT_EQ(fnQuibra_GetSCErrorData(1), 5);
  EXPECT_EQ(m().statuses.get(9002, false), 20);
}

TEST_F(EngineTest, SilenceAndWrongCodeCountAsNoAnswer) {
  auto asked = std::make_shared<std::atomic<int>>(0);
  start_unit([asked](const Bytes& r) {
    // First a wrong code in byte 2, then silence.
    return ++*asked == 1 ? AnswerFrame(static_cast<uint8_t>(r[1] + 1), Payload(11, 0)) : Bytes{};
  });
  ASSERT_TRUE(start());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 1), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 30);
  EXPECT_EQ(unit_->request_count(), 5u);
  EXPECT_EQ(fnQuibra_GetSCErrorData(3), 5);
  EXPECT_EQ(fnQuibra_GetSCErrorData(1), 0);
  EXPECT_EQ(m().statuses.get(9002, false), 30);
}

TEST_F(EngineTest, UnknownDeviceCodeFailsTheIdentification) {
  start_unit([](const Bytes& r) { return AnswerFrame(r[1], {20, 0, 0, 0, 0, 0}); });
  ASSERT_TRUE(start());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9021, 1), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 30);
  EXPECT_EQ(unit_->request_count(), 15u);  // the identification is tried 15 times
  EXPECT_EQ(m().unit.type.load(), 0);
}

TEST_F(EngineTest, UsbAdapterReadsInChunksWithoutRecoding) {
  port_.usb_files = {1};
  port_.usb_path = pty_.slave_name();
  // A device file has no line discipline: the pty that stands in for it is made raw here, as
  // the library sets no line on the USB adapter.
  termios raw{};
  ASSERT_EQ(tcgetattr(pty_.master(), &raw), 0);
  cfmakeraw(&raw);
  ASSERT_EQ(tcsetattr(pty_.master(), TCSANOW, &raw), 0);
  // The USB adapter is drained twice after a write, each drain waiting out the read time-out:
  // this unit answers after both, as a real one does after the message's pause.
  start_unit([](const Bytes& r) { return AnswerFrame(r[1], Payload(11, 0x30)); }, 60);
  ASSERT_TRUE(start(0x10));  // USB: recoding is off even with bit 0x01 clear
  EXPECT_EQ(m().port.handle(), 101);
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 1), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 10);
  ASSERT_GE(unit_->request_count(), 1u);
  EXPECT_EQ(unit_->requests()[0], (Bytes{0xA3, 0x02, 0x00, 0x00, 0x05, 0x9B, 0x95}));
  EXPECT_EQ(GetMessageByte(9002, 1, 16), 0x30 + 10);
}

TEST_F(EngineTest, KeepAliveGoesOutOnThe181stIdleCycle) {
  std::vector<int> at_cycle;
  std::mutex lock;
  port_.on_write = [&](const uint8_t* bytes, size_t count) {
    if (count >= 2 && bytes[1] == 24) {
      std::lock_guard guard(lock);
      at_cycle.push_back(counting_.cycle_pauses.load());
    }
  };
  ASSERT_TRUE(start(kPlainSerial | 0x02));
  for (int i = 0; i < 2000; ++i) {
    {
      std::lock_guard guard(lock);
      if (at_cycle.size() >= 2) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  fnQuibra_EndIRCommunication(0);
  frame::UnloadModule();
  std::lock_guard guard(lock);
  ASSERT_GE(at_cycle.size(), 2u);
  EXPECT_EQ(at_cycle[0], 181);
  EXPECT_EQ(at_cycle[1], 362);
}

TEST_F(EngineTest, EndStopsTheThreadAndClosesThePort) {
  ASSERT_TRUE(start());
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagEngineRunning), 1);
  EXPECT_EQ(fnQuibra_ResetIRCommunication(0), 0);  // refused while running
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(fnQuibra_EndIRCommunication(0), 1);
  while (frame::GetStateFlag(frame::kFlagEngineRunning) != 0 &&
         std::chrono::steady_clock::now() - begin < std::chrono::seconds(2)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagEngineRunning), 0);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagPortHeld), 0);
  EXPECT_EQ(m().port.handle(), 0);
  EXPECT_GE(port_.closes.load(), 1);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 20);
  // A new conversation can start on the same port.
  EXPECT_TRUE(start());
}

// Holds the engine in its nth pause of the given length until the test lets it go, so that the
// application's calls fall between two of the engine's steps exactly.
class GateClock final : public testing::ForwardingClock {
 public:
  GateClock(platform::Clock& inner, uint32_t ms, int nth)
      : ForwardingClock(inner), ms_(ms), nth_(nth) {}
  std::promise<void> reached;
  std::promise<void> release;
  void sleep_ms(uint32_t ms) override {
    if (ms == ms_ && --nth_ == 0) {
      reached.set_value();
      release.get_future().wait();
    }
    inner_.sleep_ms(ms);
  }

 private:
  uint32_t ms_;
  int nth_;
};

// A message queued while the engine still holds a cancel raised for the exchange before it
// (the flag is cleared only at the end of the cycle) runs to its own final status.
TEST_F(EngineTest, AMessageQueuedWhileACancelIsHeldRunsToItsEnd) {
  auto asked = std::make_shared<std::atomic<int>>(0);
  start_unit([asked](const Bytes& r) {
    return ++*asked == 1 ? Bytes{} : AnswerFrame(r[1], Payload(11, 0x40));
  });
  ASSERT_TRUE(start());
  // The second 50 ms pause from here is the first silent round of the answer wait.
  GateClock gate(counting_, 50, 2);
  platform::set_clock(&gate);
  const bool held =
      fnQuibra_SendIRComMessage(9002, 1) == 1 &&
      gate.reached.get_future().wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  fnQuibra_CancelExerciseReading();
  const int32_t queued = fnQuibra_SendIRComMessage(9002, 1);
  gate.release.set_value();
  const int32_t status = testing::WaitFinalStatus(5000);
  fnQuibra_EndIRCommunication(0);
  platform::set_clock(&counting_);
  ASSERT_TRUE(held);
  EXPECT_EQ(queued, 1);
  EXPECT_EQ(status, 10);
  EXPECT_EQ(GetMessageByte(9002, 1, 16), 0x40 + 10);
}

// Reports when the engine starts a wakeable pause of the given length on the real clock.
class PauseSignalClock final : public testing::ForwardingClock {
 public:
  PauseSignalClock(platform::Clock& inner, uint32_t ms) : ForwardingClock(inner), ms_(ms) {}
  std::promise<void> reached;
  // Only while no engine thread runs.
  void arm() {
    reached = {};
    reached_ = false;
  }
  bool sleep_ms_unless(uint32_t ms, platform::WakeSignal& wake) override {
    if (ms == ms_ && !reached_.exchange(true)) reached.set_value();
    return inner_.sleep_ms_unless(ms, wake);
  }

 private:
  uint32_t ms_;
  std::atomic<bool> reached_{false};
};

// The end call and unloading cut the engine's 500 ms cycle pause short, in real time.
TEST_F(EngineTest, EndDoesNotWaitOutTheCyclePause) {
  platform::ScaledClock real{1.0};
  PauseSignalClock clock(real, 500);
  platform::set_clock(&clock);
  for (const bool unload : {false, true}) {
    SCOPED_TRACE(unload ? "unload" : "end");
    clock.arm();
    ASSERT_TRUE(start());
    ASSERT_EQ(clock.reached.get_future().wait_for(std::chrono::seconds(5)),
              std::future_status::ready);
    const auto begin = std::chrono::steady_clock::now();
    if (unload) {
      frame::UnloadModule();
    } else {
      fnQuibra_EndIRCommunication(0);
    }
    const auto took = std::chrono::steady_clock::now() - begin;
    // Bound well below the 500 ms pause, generous for a loaded machine.
    EXPECT_LT(took, std::chrono::milliseconds(250));
    if (unload) frame::LoadModule();
  }
  platform::set_clock(&counting_);
}

TEST_F(EngineTest, FailedReadEndsTheThread) {
  start_unit([](const Bytes&) { return Bytes{}; });
  ASSERT_TRUE(start());
  port_.fail(FaultPort::Op::Read, 1, true);
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 1), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 20);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagPortReadFailed), 1);
}

}  // namespace
}  // namespace quibra::protocol

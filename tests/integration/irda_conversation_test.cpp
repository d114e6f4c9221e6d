// The engine on IrDA sockets against simulated units in an in-process IrDA stack: connecting,
// the short form on the wire, the receive thread, answers that are refused, frames lost to a bit
// error, a lost link and the search for units in range; and the unit's identification, the same
// over the serial line as over IrDA.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/state_flags.h"
#include "generated_exercises.h"
#include "irda_pty_peer.h"
#include "irda_stack.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "sim/pty_port.h"
#include "support/fault_port.h"
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

  // Identifies the unit over the conversation that runs and ends it.
  static MonitorInfo Identify() {
    MonitorInfo info{};
    EXPECT_EQ(Exchange(9021, 1), 10);
    EXPECT_EQ(fnQuibra_UnPackMonitorInfo(&info), 1);
    fnQuibra_EndIRCommunication(0);
    // The next conversation may take another link: both threads of this one end first.
    for (int i = 0; i < 5000 && (frame::GetStateFlag(frame::kFlagEngineRunning) != 0 ||
                                 frame::GetStateFlag(frame::kFlagIrdaReceiveRunning) != 0);
         ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return info;
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

TEST_F(IrdaConversation, AFrameWithAFlippedBitIsLostAndTheMessageSentAgain) {
  // A PR6 with three files: its identification never reports another count.
  sim::Unit unit(36, 0, 172);
  unit.set_exercise_files({Bytes(300, 1), Bytes(500, 2), Bytes(700, 3)});
  stack_.add_unit(unit);
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_TRUE(WaitConnected());
  const std::function<void()> faults[] = {
      [&] {
        unit.queue_fault({sim::FaultKind::FlippedBit, 9021});
      },
      [&] { stack_.flip_bit_on_air(sim::IrdaStack::Air::Answer); },
      [&] { stack_.flip_bit_on_air(sim::IrdaStack::Air::Request); },
  };
  for (size_t i = 0; i < std::size(faults); ++i) {
    SCOPED_TRACE(i);
    faults[i]();
    const size_t heard = unit.requests().size();
    EXPECT_EQ(Exchange(9021, 1), 10);
    EXPECT_EQ(stack_.dropped_frames(), static_cast<int>(i) + 1);
    // A lost answer was asked for again; a lost request reached the unit only when sent again.
    EXPECT_EQ(unit.requests().size() - heard, i < 2 ? 2u : 1u);
    MonitorInfo info{};
    ASSERT_EQ(fnQuibra_UnPackMonitorInfo(&info), 1);
    EXPECT_EQ(info.TotalFiles, 3u);
    EXPECT_EQ(info.FreeMemoryInBytes, 114637 - 1500);
  }
}

TEST_F(IrdaConversation, ThePtyLineChecksItsFramesAndOutlastsASerialRequest) {
  // The unit in another program's place: its line carries link frames to a peer in range.
  sim::Unit unit(36, 0, 172);
  unit.set_exercise_files({Bytes(300, 1), Bytes(500, 2)});
  sim::SerialLink line(unit, false, sim::SerialLink::kDefaultTurnaround,
                       sim::SerialLink::Framing::ShortFormBlocks);
  const std::string path = line.start();
  ASSERT_FALSE(path.empty());
  {
    // Someone speaks the serial protocol to it first; the unit does not answer that.
    sim::testing::Port serial(path);
    serial.send(sim::testing::kRead9021, false);
    EXPECT_TRUE(serial.receive(1, std::chrono::milliseconds(300)).empty());
  }
  sim::IrdaPtyPeer peer(path);
  ASSERT_EQ(peer.device_name(), "Orvek PR6");
  stack_.add_device("Orvek PR6", [&peer](std::span<const uint8_t> r) { return peer.exchange(r); });
  unit.queue_fault({sim::FaultKind::FlippedBit, 9021});
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_TRUE(WaitConnected());
  const MonitorInfo info = Identify();
  EXPECT_EQ(peer.dropped_frames(), 1);
  EXPECT_EQ(info.TotalFiles, 2u);
  EXPECT_EQ(info.FreeMemoryInBytes, 114637 - 800);
}

TEST_F(IrdaConversation, IdentificationCountsTheExercisesTheSameOverEveryLink) {
  struct Case {
    int32_t type;
    int32_t files;  // given; what the library reports is that, type 27 aside
  };
  // Every type the library identifies by this message: generated memories where the type has
  // them, a memory of one exercise where it has none, files on the newer units.
  const Case cases[] = {{11, 3}, {12, 3}, {13, 3}, {15, 3}, {20, 2}, {21, 2}, {22, 3}, {23, 3},
                        {27, 1}, {33, 2}, {34, 2}, {35, 2}, {36, 2}, {37, 2}, {38, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    sim::Unit unit(c.type, 3);
    if (c.type >= 33) {
      unit.set_exercise_files(std::vector<Bytes>(static_cast<size_t>(c.files), Bytes(400, 7)));
    } else {
      auto memory = sim::GeneratedExerciseMemory(c.type, unit.product_code(), 3, c.files);
      ASSERT_TRUE(unit.set_exercise_memory(memory ? *memory : Bytes(200, 7)));
    }
    const uint32_t used = unit.identification().used_memory;
    EXPECT_GT(used, 0u);

    FaultPort port;
    port.keep_output_on_purge = true;
    platform::set_byte_port(&port);
    sim::SerialLink serial_line(unit, false, std::chrono::milliseconds{10});
    ASSERT_EQ(fnQuibra_StartIRCommunication(0, serial_line.start().c_str()), 1);
    const MonitorInfo serial = Identify();
    serial_line.stop();
    platform::set_byte_port(nullptr);

    stack_.remove_all_devices();
    stack_.add_unit(unit);
    ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
    ASSERT_TRUE(WaitConnected());
    const MonitorInfo irda = Identify();

    EXPECT_EQ(serial.TotalFiles, c.type == 27 ? 0u : static_cast<uint32_t>(c.files));
    // The older units with a memory of their own count by the table, with a correction of 6
    // bytes on types 11 and 15; the others have no memory size.
    const int32_t correction = c.type == 11 || c.type == 15 ? 6 : 0;
    if (serial.TotalMemoryInBytes > 0) {
      EXPECT_EQ(serial.FreeMemoryInBytes,
                static_cast<int32_t>(serial.TotalMemoryInBytes - used) - correction);
    }
    EXPECT_EQ(irda.TotalFiles, serial.TotalFiles);
    EXPECT_EQ(irda.FreeMemoryInBytes, serial.FreeMemoryInBytes);
    EXPECT_EQ(irda.MonitorInUse, c.type);
  }
}

// The older units send their whole exercise memory over IrDA as numbered packets, each
// acknowledged with 9022, the last one too; the memory kept is the unit's, byte for byte, and the first packet
// announces its size.
TEST_F(IrdaConversation, TheExerciseMemoryComesInPacketsAcknowledgedOneByOne) {
  sim::Unit unit(22, 3);
  auto memory = sim::GeneratedExerciseMemory(22, unit.product_code(), 3, 10);
  ASSERT_TRUE(memory.has_value());
  ASSERT_GT(memory->size(), 2 * sim::Unit::kShortPacketData);
  ASSERT_TRUE(unit.set_exercise_memory(*memory));
  stack_.add_unit(unit);
  ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
  ASSERT_TRUE(WaitConnected());

  ASSERT_EQ(Exchange(9011, 0), 10);
  Bytes got;
  for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
    got.push_back(static_cast<uint8_t>(fnKx2GetMemtrData(p)));
  EXPECT_EQ(got, *memory);
  const int32_t packets =
      static_cast<int32_t>((memory->size() + sim::Unit::kShortPacketData - 1) /
                           sim::Unit::kShortPacketData);
  EXPECT_EQ(fnQuibra_GetSCErrorData(101), packets);
  EXPECT_EQ(fnQuibra_GetComProgress(), 100);
  int32_t acks = 0;
  for (const auto& entry : unit.requests())
    acks += entry.id == 9022 ? 1 : 0;
  EXPECT_EQ(acks, packets);
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

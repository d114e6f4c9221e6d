// The library against the simulated unit over a real pseudo-terminal: the engine's exports, the
// send-with-progress call and its dialogs, as an application uses them.
#include <chrono>
#include <future>
#include <thread>

#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/final_status.h"
#include "support/sim_unit_fixture.h"
#include "transfer/send_unit_message.h"
#include "ui/dialog_test_support.h"

namespace quibra::testing {
namespace {

using sim::Fault;
using sim::FaultKind;

// A type-22 unit of variant 3 on the other end of the line; the dialogs report to a recorder.
class UnitConversation : public SimUnitTest {
 protected:
  UnitConversation() : SimUnitTest(22, 3) {}
  void SetUp() override {
    SimUnitTest::SetUp();
    fnQuibraExt_SetDialogObserver(&DialogRecorder::observe, &recorder_);
  }
  void TearDown() override {
    fnQuibraExt_SetDialogObserver(nullptr, nullptr);
    SimUnitTest::TearDown();
  }

  DialogRecorder recorder_;
};

TEST_F(UnitConversation, FaultsAreRetriedThenGivenUp) {
  open();
  for (FaultKind kind : {FaultKind::Noise, FaultKind::Start5D, FaultKind::FlippedBit,
                         FaultKind::NoAnswer, FaultKind::WrongCode}) {
    SCOPED_TRACE(static_cast<int>(kind));
    unit_.clear_requests();
    unit_.queue_fault({kind, 9002, false});
    ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 0), 1);
    EXPECT_EQ(WaitFinalStatus(), 10);
    // Noise and 0x5D are read through; the others cost one more try.
    const size_t expected = (kind == FaultKind::Noise || kind == FaultKind::Start5D) ? 1u : 2u;
    EXPECT_EQ(unit_.requests().size(), expected);
    // The four noise bytes before the answer are counted as skipped.
    if (kind == FaultKind::Noise) {
      EXPECT_GE(fnQuibra_GetSCErrorData(2), 4);
    }
  }
  unit_.clear_requests();
  unit_.queue_fault(Fault::Silence());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 0), 1);
  EXPECT_EQ(WaitFinalStatus(), 30);
  EXPECT_EQ(unit_.requests().size(), 5u);  // the message's tries
}

TEST_F(UnitConversation, Batch8000ReadsTheSettingsRowsOfAType22Unit) {
  open();
  ASSERT_EQ(fnQuibra_SendIRComMessage(8000, 0), 1);
  EXPECT_EQ(WaitFinalStatus(), 10);
  // The batch counts as complete when its last row is queued: that row may still be on its way.
  for (int waited = 0; unit_.requests().size() < 17 && waited < 5000; waited += 5)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::vector<std::pair<int32_t, int32_t>> got;
  for (const sim::LoggedRequest& r : unit_.requests())
    got.emplace_back(r.id, r.param);
  const std::vector<std::pair<int32_t, int32_t>> expected = {
      {9021, 0}, {9006, 0}, {9002, 0}, {9016, 0}, {9020, 0}, {9014, 0},
      {9014, 1}, {9014, 2}, {9014, 3}, {9014, 4}, {9014, 5}, {9014, 6},
      {9069, 1}, {9069, 2}, {9069, 3}, {9069, 4}, {9069, 5}};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(m().unit.type.load(), 22);
  EXPECT_EQ(m().unit.variant.load(), 3);
  // The last row is not counted as done: the batch ends when it is queued.
  EXPECT_EQ(fnQuibra_GetSCErrorData(101), 17);
  EXPECT_EQ(fnQuibra_GetSCErrorData(100), 16);
  EXPECT_EQ(fnQuibra_GetComProgress(), 94);
}

TEST_F(UnitConversation, NoAnswerThenRetryAfterTheUnitComesBack) {
  open();
  unit_.queue_fault(Fault::Silence());
  bool retried = false;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (retried || !recorder_.is_display_update(e) || !recorder_.controls[ui::kButtonRetry].enabled)
      return;
    EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "No answer from HR Monitor");
    retried = true;
    unit_.clear_faults();
    fnQuibraExt_PressDialogButton(ui::kButtonRetry);
  };
  CommParams p = LinkParams();
  p.ShowDialog = 1;
  EXPECT_EQ(transfer::SendUnitMessage(p, 9021, 0), 1);
  EXPECT_TRUE(retried);
  EXPECT_EQ(m().unit.type.load(), 22);  // recognised from the identification answer
}

// A cancel raised after the engine's last cycle is still held when the next read is queued: it
// was not for that read, which runs to its end, on the same link and without a pause.
TEST_F(UnitConversation, AReadSentRightAfterACancelRunsToItsEnd) {
  open();
  ASSERT_EQ(fnQuibra_SendIRComMessage(9002, 0), 1);
  ASSERT_EQ(WaitFinalStatus(), 10);
  fnQuibra_CancelExerciseReading();
  auto read = std::async(std::launch::async, [] {
    CommParams p = LinkParams();
    UserSettings record{};
    return fnQuibra_ReadUserSettings(&p, &record);
  });
  ASSERT_EQ(read.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_EQ(read.get(), 1);
}

}  // namespace
}  // namespace quibra::testing

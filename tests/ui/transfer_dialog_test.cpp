// The transfer, no-wait and busy dialogs on the headless host, driven as an application drives
// them through the send-with-progress call.
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "frame/com_texts.h"
#include "protocol/transfer_texts.h"
#include "transfer/send_unit_message.h"
#include "ui/busy_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/dialog_window.h"

namespace quibra::testing {
namespace {

using transfer::SendUnitMessage;
using TransferDialog = DialogTest;

TEST_F(TransferDialog, ProbeWithoutAnswerClosesItself) {
  link_.status_after_send = 30;
  CommParams p = params(true);
  EXPECT_EQ(SendUnitMessage(p, 9021, 1), 0);
  EXPECT_EQ(recorder_.events.back().Kind, QUIBRA_DIALOG_CLOSED);
  EXPECT_EQ(recorder_.events.back().Result, 0);
}

TEST_F(TransferDialog, NoAnswerOffersRetryAndRetrySucceeds) {
  link_.status_after_send = 30;
  bool retried = false;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    // Once the dialog says there is no answer with Retry enabled, the unit comes back.
    if (!retried && recorder_.is_display_update(e) &&
        recorder_.controls[ui::kButtonRetry].enabled &&
        recorder_.controls[ui::kStatusText].text == "No answer from HR Monitor") {
      retried = true;
      EXPECT_TRUE(recorder_.controls[ui::kIconNoAnswer].visible);
      link_.status_after_send = 10;
      fnQuibraExt_PressDialogButton(ui::kButtonRetry);
    }
  };
  CommParams p = params(true);
  EXPECT_EQ(SendUnitMessage(p, 9021, 0), 1);
  EXPECT_TRUE(retried);
  ASSERT_EQ(link_.sends().size(), 2u);
  EXPECT_EQ(link_.sends()[1], (std::pair<int32_t, int32_t>{9021, 0}));
}

TEST_F(TransferDialog, ConnectingIconsAlternateWhileTheTransferRuns) {
  link_.status_after_send = 0;
  int ticks = 0;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (recorder_.is_display_update(e) && ++ticks == 6) link_.status_value = 10;
  };
  CommParams p = params(true);
  EXPECT_EQ(SendUnitMessage(p, 9006, 0), 1);
  const std::vector<bool> second = recorder_.visibility_history(ui::kIconConnecting2);
  // Initial template state, the start-up display, then one report per tick: 0 shown, 1 hidden...
  ASSERT_GE(second.size(), 6u);
  for (size_t tick = 0; tick + 2 < second.size() - 1; ++tick) {
    EXPECT_EQ(second[tick + 2], tick % 2 == 0) << tick;
  }
  // Completed: the text stays, the wait icon alone is shown.
  EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Reading...");
  EXPECT_FALSE(recorder_.controls[ui::kIconConnecting1].visible);
  EXPECT_TRUE(recorder_.controls[ui::kIconWaitConnect].visible);
}

TEST_F(TransferDialog, EmptyTextIsChosenByDirectionAndKeptForTheNoWaitDialog) {
  link_.status_after_send = 10;
  CommParams read = params(true);
  EXPECT_EQ(SendUnitMessage(read, 9006, 0), 1);
  EXPECT_EQ(protocol::SharedDialogText(), "Reading...");
  CommParams write = params(true);
  EXPECT_EQ(SendUnitMessage(write, 9005, 0), 1);
  EXPECT_EQ(protocol::SharedDialogText(), "Writing...");

  recorder_.events.clear();
  CommParams command = params(true, "ignored on this path");
  EXPECT_EQ(SendUnitMessage(command, 9010, 0), 1);
  EXPECT_STREQ(recorder_.events.front().Dialog, "IR_CONNECTION_NOWAIT");
  EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Writing...");

  CommParams own = params(true, "Sending your name");
  EXPECT_EQ(SendUnitMessage(own, 9005, 0), 1);
  EXPECT_EQ(protocol::SharedDialogText(), "Sending your name");
}

TEST_F(TransferDialog, CommandsWaitHalfASecondAndSucceedOnlyWhenDelivered) {
  const struct {
    int32_t message;
    bool open;
    int32_t status;  // the engine's, after the send
    int32_t with_dialog, silent;
  } kCases[] = {
      {9010, true, 0, 1, 1},    // watch mode: sent and forgotten
      {9105, true, 0, 1, 1},    // display off: nothing comes back
      {9010, false, 0, 0, 2},   // no link took it
      {9009, true, 10, 1, 1},   // factory defaults acknowledged
      {9009, true, 30, 0, 3},   // ... or not
      {9038, false, 10, 0, 2},  // sleep, without a link
  };
  for (const auto& c : kCases) {
    link_.open = c.open;
    link_.status_after_send = c.status;
    for (bool dialog : {true, false}) {
      CommParams p = params(dialog);
      const uint32_t start = clock_.tick_ms();
      EXPECT_EQ(SendUnitMessage(p, c.message, 0), dialog ? c.with_dialog : c.silent)
          << c.message << " open " << c.open << " dialog " << dialog;
      EXPECT_GE(clock_.tick_ms() - start, 500u) << c.message << " dialog " << dialog;
    }
  }
  // The no-wait dialog's last words say why it failed.
  EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Errors with Connection");
}

TEST_F(TransferDialog, SilentResults) {
  CommParams p = params(false);
  link_.open = false;
  EXPECT_EQ(SendUnitMessage(p, 9006, 0), 2);
  link_.open = true;
  link_.status_after_send = 30;
  EXPECT_EQ(SendUnitMessage(p, 9006, 0), 3);
  link_.status_after_send = 10;
  EXPECT_EQ(SendUnitMessage(p, 9006, 0), 1);
  EXPECT_TRUE(recorder_.events.empty());  // silent means no dialog
}

TEST_F(TransferDialog, WithoutAnObserverAFailedTransferTakesCancel) {
  fnQuibraExt_SetDialogObserver(nullptr, nullptr);
  std::atomic<bool> done{false};
  std::thread canceller;
  // No answer, no link, and a transfer that only a cancel from elsewhere ends.
  for (int32_t status : {30, 20, 50}) {
    link_.open = status != 20;
    link_.status_after_send = status;
    if (status == 50) {
      canceller = std::thread([&] {
        for (; !done; std::this_thread::sleep_for(std::chrono::milliseconds(20)))
          fnQuibra_CancelExerciseReading();
      });
    }
    const size_t sent_before = link_.sends().size();
    CommParams p = params(true);
    EXPECT_EQ(SendUnitMessage(p, 9006, 0), 0) << status;
    EXPECT_EQ(link_.sends().size(), sent_before + 1) << status;  // no Retry
  }
  done = true;
  canceller.join();
}

TEST_F(TransferDialog, NoLinkShowsTheConnectionErrorAndWaits) {
  link_.open = false;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (recorder_.is_display_update(e)) {
      EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Errors with Connection");
      EXPECT_TRUE(recorder_.controls[ui::kButtonRetry].enabled);
      fnQuibraExt_PressDialogButton(ui::kButtonCancel);
    }
  };
  CommParams p = params(true);
  EXPECT_EQ(SendUnitMessage(p, 9006, 0), 0);
}

TEST_F(TransferDialog, CancelClosesTheDialogButLeavesTheEngine) {
  link_.status_after_send = 0;
  int reports = 0;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (recorder_.is_display_update(e) && ++reports == 3)
      fnQuibraExt_PressDialogButton(ui::kButtonCancel);
  };
  CommParams p = params(true);
  EXPECT_EQ(SendUnitMessage(p, 9006, 0), 0);
  EXPECT_EQ(link_.cancels, 0);
}

TEST_F(TransferDialog, ProgressBarOnlyForFileRequests) {
  link_.status_after_send = 10;
  CommParams p = params(true);
  SendUnitMessage(p, 9006, 0);
  EXPECT_FALSE(recorder_.controls[ui::kProgressBar].visible);
  SendUnitMessage(p, 9011, 0);
  EXPECT_TRUE(recorder_.controls[ui::kProgressBar].visible);
  SendUnitMessage(p, 9106, 0);
  EXPECT_TRUE(recorder_.controls[ui::kProgressBar].visible);
  m().transfer.download.byte_limit = 50;
  SendUnitMessage(p, 9106, 0);
  EXPECT_FALSE(recorder_.controls[ui::kProgressBar].visible);
}

TEST_F(TransferDialog, ProgressFollowsTheEngineWhileTheBatchStarts) {
  link_.status_after_send = 60;
  link_.progress_value = 40;
  int ticks = 0;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (recorder_.is_display_update(e) && ++ticks == 3) link_.status_value = 10;
  };
  CommParams p = params(true);
  EXPECT_EQ(SendUnitMessage(p, 9011, 0), 1);
  EXPECT_EQ(recorder_.controls[ui::kProgressBar].progress, 40);
}

TEST_F(TransferDialog, BusyDialogStaysAtLeastOneSecond) {
  uint32_t opened = 0, closed = 0;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (e.Kind == QUIBRA_DIALOG_OPENED) opened = clock_.tick_ms();
    if (e.Kind == QUIBRA_DIALOG_CLOSED) closed = clock_.tick_ms();
  };
  ui::StartBusyDialog(0);
  clock_.sleep_ms(100);
  ui::EndBusyDialog();
  // The dialog's thread closes it on its own; wait for that through the module's teardown.
  frame::UnloadModule();
  ASSERT_NE(closed, 0u);
  EXPECT_GE(closed - opened, 1000u);
  EXPECT_STREQ(recorder_.events.front().Dialog, "IR_CONNECTION_NEW");
  EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Writing...");
  frame::LoadModule();
}

TEST(DefaultTransferText, ByMessage) {
  frame::LoadModule();
  EXPECT_STREQ(protocol::GetDefaultTransferText(9024, 0), "");
  EXPECT_STREQ(protocol::GetDefaultTransferText(9106, 0), "Reading files...");
  EXPECT_STREQ(protocol::GetDefaultTransferText(9009, 7), "Restoring factory defaults...");
  EXPECT_STREQ(protocol::GetDefaultTransferText(9105, 0), "Setting to sleep mode...");
  EXPECT_STREQ(protocol::GetDefaultTransferText(9054, 0), "Writing...");
  EXPECT_STREQ(protocol::GetDefaultTransferText(9069, 0), "Reading...");
  EXPECT_STREQ(protocol::GetDefaultTransferText(9109, 0), "");
  EXPECT_STREQ(protocol::GetDefaultTransferText(8000, 0), "");
  frame::UnloadModule();
}

}  // namespace
}  // namespace quibra::testing

// The exercise download dialog and its silent twin on the headless host.
#include <atomic>
#include <chrono>
#include <thread>

#include "protocol/message_image.h"
#include "ui/dialog_host.h"
#include "ui/dialog_test_support.h"
#include "ui/download_procedure.h"

namespace quibra::testing {
namespace {

// Counts the refreshes of the unit information a completed download asks for.
std::atomic<int32_t> g_refreshes{0};
void CountRefresh(int32_t) {
  ++g_refreshes;
}

class DownloadDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    g_refreshes = 0;
  }
  int32_t run_download() {
    ui::DownloadProcedure procedure(link_, &CountRefresh);
    return ui::dialog_host().run_modal(ui::DialogId::Connection, 0, procedure);
  }
  int32_t run_silent() { return ui::SilentExerciseDownload(link_, &CountRefresh); }
};

TEST_F(DownloadDialog, CompletesWithProgressAndRefreshesTheUnit) {
  link_.status_after_send = 50;
  link_.progress_value = 75;
  int ticks = 0;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (recorder_.is_display_update(e) && ++ticks == 3) link_.status_value = 10;
  };
  EXPECT_EQ(run_download(), 1);
  EXPECT_EQ(link_.sends(), (std::vector<std::pair<int32_t, int32_t>>{{9011, 0}}));
  EXPECT_EQ(g_refreshes, 1);
  EXPECT_EQ(recorder_.controls[ui::kProgressBar].progress, 75);
  EXPECT_TRUE(recorder_.controls[ui::kProgressBar].visible);
}

TEST_F(DownloadDialog, ListenModeAndSingleFile) {
  link_.status_after_send = 10;
  m().transfer.download.mode = 1;
  EXPECT_EQ(run_download(), 1);
  EXPECT_EQ(link_.sends().back().first, 9025);

  m().transfer.download = {0, 1, 0x1234, 50};
  EXPECT_EQ(run_download(), 1);
  EXPECT_EQ(link_.sends().back().first, 9106);
  EXPECT_EQ(protocol::GetMessageByte(9106, 0, 5), 0x34);
  EXPECT_EQ(protocol::GetMessageByte(9106, 0, 6), 0x12);
  EXPECT_EQ(protocol::GetMessageByte(9106, 0, 7), 50);
  EXPECT_FALSE(recorder_.controls[ui::kProgressBar].visible);  // head only: no progress to show
}

TEST_F(DownloadDialog, NoAnswerAsksForAChoiceAndCancelStopsTheEngine) {
  link_.status_after_send = 30;
  int asked = 0;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (e.Kind != QUIBRA_DIALOG_AWAITING_CHOICE) return;
    // Asked once the display tells why, with Retry offered.
    EXPECT_STREQ(e.Text, "No answer from HR Monitor");
    EXPECT_TRUE(recorder_.controls[ui::kButtonRetry].enabled);
    EXPECT_TRUE(recorder_.controls[ui::kIconNoAnswer].visible);
    fnQuibraExt_PressDialogButton(++asked < 2 ? ui::kButtonRetry : ui::kButtonCancel);
  };
  EXPECT_EQ(run_download(), 0);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(link_.sends().size(), 2u);  // the first try and one Retry
  EXPECT_EQ(link_.cancels, 1);
  EXPECT_EQ(g_refreshes, 0);
}

TEST_F(DownloadDialog, WithoutAnObserverAFailedDownloadTakesCancel) {
  fnQuibraExt_SetDialogObserver(nullptr, nullptr);
  for (bool open : {true, false}) {
    link_.open = open;
    link_.status_after_send = 30;
    link_.cancels = 0;
    EXPECT_EQ(run_download(), 0) << open;
    EXPECT_EQ(link_.cancels, 1) << open;
  }
  EXPECT_EQ(link_.sends().size(), 2u);
}

TEST_F(DownloadDialog, SilentTwinReturnsTheFinalStatus) {
  link_.status_after_send = 10;
  EXPECT_EQ(run_silent(), 10);
  EXPECT_EQ(g_refreshes, 1);
  link_.status_after_send = 30;
  EXPECT_EQ(run_silent(), 30);
  link_.open = false;
  EXPECT_EQ(run_silent(), 20);
  EXPECT_EQ(g_refreshes, 1);
  EXPECT_TRUE(recorder_.events.empty());
}

TEST_F(DownloadDialog, CancelEndsASilentDownloadThatWouldNeverEnd) {
  link_.status_after_send = 50;  // packets were arriving when the unit fell silent
  std::atomic<bool> returned{false};
  std::thread canceller([&] {
    while (!returned) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      fnQuibra_CancelExerciseReading();
    }
  });
  const int32_t status = run_silent();
  returned = true;
  canceller.join();
  EXPECT_EQ(status, 50);  // not final: the exports report it as 0
  EXPECT_EQ(g_refreshes, 0);
}

}  // namespace
}  // namespace quibra::testing

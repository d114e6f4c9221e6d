#include "ui/download_procedure.h"

#include "frame/com_texts.h"
#include "frame/module.h"
#include "protocol/download_request.h"
#include "protocol/message_ids.h"
#include "protocol/message_status.h"
#include "ui/display_update.h"
#include "ui/transfer_procedures.h"

namespace quibra::ui {
namespace {

// A single file read with this byte limit fetches only the file's head: no progress to show.
constexpr int32_t kHeadOnlyLimit = 50;

protocol::TransferState& transfer() {
  return module().transfer;
}

}  // namespace

bool DownloadProcedure::send(DialogWindow& window) {
  mark_ = CancelMark();
  if (link_.send(message_, 0) == 0) return false;
  window.start_timer(kStatusTimer, kStatusPollMs);
  return true;
}

void DownloadProcedure::on_start(DialogWindow& window) {
  window.center();
  window.set_caption(frame::GetComText(frame::kTextTitle));
  window.set_text(kStatusText, frame::GetComText(frame::kTextReading));
  window.set_text(kButtonCancel, frame::GetComText(frame::kTextCancel));
  window.set_text(kButtonRetry, frame::GetComText(frame::kTextRetry));
  window.set_progress_range(kProgressBar, 0, 100, 1);
  window.enable(kButtonRetry, false);
  transfer().download_ticks = 1;
  message_ = protocol::PrepareExerciseDownload();
  if (message_ == protocol::msg::kSingleFile && transfer().download.byte_limit == kHeadOnlyLimit)
    window.show(kProgressBar, false);
  const bool sent = send(window);
  UpdateDisplay(window, link_.status(), 1, true);
  // No link: only Retry or Cancel changes anything now.
  if (!sent) window.await_choice();
}

void DownloadProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kStatusTimer) return;
  bool failed = false;
  int32_t status = link_.status();
  // A download cancelled elsewhere ends no other way.
  if (!protocol::IsFinalStatus(status) && CancelledSince(mark_)) status = protocol::kStatusNoAnswer;
  switch (status) {
    case protocol::kStatusCompleted:
      window.stop_timer(kStatusTimer);
      completed_(transfer().download.single_file);
      window.end(1);
      break;
    case protocol::kStatusNoLink:
    case protocol::kStatusNoAnswer:
      window.stop_timer(kStatusTimer);
      window.enable(kButtonRetry, true);
      failed = true;
      break;
    case protocol::kStatusArriving:
    case protocol::kStatusBatchStarted:
      ShowProgress(window, link_);
      break;
    default:
      break;
  }
  UpdateDisplayAndTick(window, link_, transfer().download_ticks, true);
  if (failed) window.await_choice();  // once the display tells why
}

void DownloadProcedure::on_button(DialogWindow& window, int32_t control) {
  if (control == kButtonRetry) {
    window.set_text(kStatusText, frame::GetComText(frame::kTextReading));
    window.enable(kButtonRetry, false);
    if (!send(window)) window.await_choice();
    transfer().download_ticks = 0;
  } else if (control == kButtonCancel) {
    // Unlike a settings transfer, a download is stopped when its dialog is cancelled.
    window.stop_timer(kStatusTimer);
    link_.cancel();
    window.end(0);
  }
}

int32_t SilentExerciseDownload(TransferLink& link, DownloadCompleted completed) {
  const int32_t message = protocol::PrepareExerciseDownload();
  const uint32_t mark = CancelMark();
  link.send(message, 0);
  const int32_t status = AwaitFinalStatus(link, mark);
  if (status == protocol::kStatusCompleted) completed(transfer().download.single_file);
  return status;
}

}  // namespace quibra::ui

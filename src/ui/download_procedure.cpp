#include "ui/download_procedure.h"

#include "frame/com_texts.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "ui/display_update.h"
#include "ui/transfer_link.h"
#include "ui/transfer_procedures.h"

namespace quibra::ui {
namespace {

// A single file read with this byte limit fetches only the file's head: no progress to show.
constexpr int32_t kHeadOnlyLimit = 50;

protocol::TransferState& transfer() {
  return module().transfer;
}

bool is_final(int32_t status) {
  return status == 10 || status == 20 || status == 30;
}

}  // namespace

int32_t PrepareExerciseDownload() {
  const protocol::ExerciseDownloadSelection& selection = transfer().download;
  if (selection.mode != 0) return protocol::msg::kListen;
  if (selection.single_file == 0) return protocol::msg::kExerciseMemory;
  protocol::SetMessageByte(protocol::msg::kSingleFile, 0, 5,
                           static_cast<uint8_t>(selection.file_index & 0xFF));
  protocol::SetMessageByte(protocol::msg::kSingleFile, 0, 6,
                           static_cast<uint8_t>((selection.file_index >> 8) & 0xFF));
  protocol::SetMessageByte(protocol::msg::kSingleFile, 0, 7,
                           static_cast<uint8_t>(selection.byte_limit & 0xFF));
  return protocol::msg::kSingleFile;
}

void DownloadProcedure::send(DialogWindow& window) {
  if (transfer_link().send(message_, 0) != 0) window.start_timer(kStatusTimer, kStatusPollMs);
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
  message_ = PrepareExerciseDownload();
  if (message_ == protocol::msg::kSingleFile && transfer().download.byte_limit == kHeadOnlyLimit)
    window.show(kProgressBar, false);
  send(window);
  UpdateDisplay(window, transfer_link().status(), 1, true);
}

void DownloadProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kStatusTimer) return;
  switch (transfer_link().status()) {
    case 10:
      window.stop_timer(kStatusTimer);
      transfer_link().refresh_monitor_info(transfer().download.single_file);
      window.end(1);
      break;
    case 20:
    case 30:
      window.stop_timer(kStatusTimer);
      window.enable(kButtonRetry, true);
      break;
    case 50:
    case 60:
      ShowProgress(window);
      break;
    default:
      break;
  }
  UpdateDisplayAndTick(window, transfer().download_ticks, true);
}

void DownloadProcedure::on_button(DialogWindow& window, int32_t control) {
  if (control == kButtonRetry) {
    window.set_text(kStatusText, frame::GetComText(frame::kTextReading));
    window.enable(kButtonRetry, false);
    send(window);
    transfer().download_ticks = 0;
  } else if (control == kButtonCancel) {
    // Unlike a settings transfer, a download is stopped when its dialog is cancelled.
    window.stop_timer(kStatusTimer);
    transfer_link().cancel();
    window.end(0);
  }
}

int32_t SilentExerciseDownload() {
  const int32_t message = PrepareExerciseDownload();
  TransferLink& link = transfer_link();
  link.send(message, 0);
  for (;;) {
    const int32_t status = link.status();
    if (is_final(status)) {
      if (status == 10) link.refresh_monitor_info(transfer().download.single_file);
      return status;
    }
    platform::clock().sleep_ms(kStatusPollMs);
  }
}

}  // namespace quibra::ui

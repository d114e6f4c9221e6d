#include "ui/transfer_procedures.h"

#include "frame/com_texts.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/message_status.h"
#include "protocol/transfer_texts.h"
#include "ui/display_update.h"

namespace quibra::ui {
namespace {

std::string text(int32_t index) {
  return frame::GetComText(index);
}

protocol::TransferState& transfer() {
  return module().transfer;
}

// The progress bar is for the file requests only, and not for a single file fetched with a
// byte limit.
bool progress_bar_wanted() {
  const protocol::TransferState& t = transfer();
  if (t.message == protocol::msg::kExerciseMemory) return true;
  return t.message == protocol::msg::kSingleFile && t.download.byte_limit == 0;
}

// Without a link nothing will change until the user chooses: Retry or Cancel.
void send_current(DialogWindow& window, TransferLink& link, uint32_t& mark) {
  mark = CancelMark();
  if (link.send(transfer().message, transfer().param) != 0) {
    window.start_timer(kStatusTimer, kStatusPollMs);
  } else {
    window.await_choice();
  }
}

}  // namespace

void TransferProcedure::on_start(DialogWindow& window) {
  window.center();
  window.set_caption(text(frame::kTextTitle));
  window.set_text(kButtonCancel, text(frame::kTextCancel));
  window.set_text(kButtonRetry, text(frame::kTextRetry));
  window.show(kProgressBar, progress_bar_wanted());
  window.set_progress_range(kProgressBar, 0, 100, 1);
  protocol::SelectTransferText(false);
  window.set_text(kStatusText, protocol::SharedDialogText());
  transfer().transfer_ticks = 0;
  // Shows what the previous transfer left, or the connection error while no link is open.
  UpdateDisplay(window, link_.status(), 0, false);
  send_current(window, link_, mark_);
}

void TransferProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kStatusTimer) return;
  bool failed = false;
  int32_t status = link_.status();
  // A transfer cancelled elsewhere ends no other way.
  if (!protocol::IsFinalStatus(status) && CancelledSince(mark_)) status = protocol::kStatusNoAnswer;
  switch (status) {
    case protocol::kStatusCompleted:
      window.stop_timer(kStatusTimer);
      window.end(1);
      break;
    case protocol::kStatusNoLink:
      window.stop_timer(kStatusTimer);
      window.enable(kButtonRetry, true);
      failed = true;
      break;
    case protocol::kStatusNoAnswer:
      window.stop_timer(kStatusTimer);
      if (transfer().end_on_no_answer != 0) {
        window.end(0);
      } else {
        window.enable(kButtonRetry, true);
        failed = true;
      }
      break;
    case protocol::kStatusBatchStarted:
      ShowProgress(window, link_);
      break;
    default:
      break;
  }
  UpdateDisplayAndTick(window, link_, transfer().transfer_ticks, false);
  // Asked once the display tells why.
  if (failed) window.await_choice();
}

void TransferProcedure::on_button(DialogWindow& window, int32_t control) {
  if (control == kButtonRetry) {
    protocol::SelectTransferText(false);
    window.set_text(kStatusText, protocol::SharedDialogText());
    send_current(window, link_, mark_);
    transfer().transfer_ticks = 0;
    window.set_progress(kProgressBar, 0);
  } else if (control == kButtonOk || control == kButtonCancel) {
    // Only the dialog closes: the engine finishes or gives up on its own.
    window.stop_timer(kStatusTimer);
    window.end(0);
  }
}

uint32_t CancelMark() {
  return frame::CancelMark();
}

bool CancelledSince(uint32_t mark) {
  return frame::CancelRequests() != mark;
}

int32_t AwaitFinalStatus(TransferLink& link, uint32_t mark) {
  int32_t status = link.status();
  while (!protocol::IsFinalStatus(status) && !CancelledSince(mark)) {
    platform::clock().sleep_ms(kStatusPollMs);
    status = link.status();
  }
  return status;
}

bool CommandIsAcknowledged(int32_t id) {
  return id != protocol::msg::kWatchMode && protocol::AnswerLength(id, 0) > 0;
}

void NoWaitProcedure::on_start(DialogWindow& window) {
  window.center();
  window.set_caption(text(frame::kTextTitle));
  protocol::SelectTransferText(false);
  window.set_text(kStatusText, protocol::SharedDialogText());
  mark_ = CancelMark();
  sent_ = link_.send(transfer().message, transfer().param) != 0;
  window.start_timer(kStatusTimer, kNoWaitMs);
}

void NoWaitProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kStatusTimer) return;
  int32_t result = sent_ ? 1 : 0;
  if (sent_ && CommandIsAcknowledged(transfer().message)) {
    const int32_t status = link_.status();
    if (!protocol::IsFinalStatus(status) && !CancelledSince(mark_)) {
      window.start_timer(kStatusTimer, kStatusPollMs);  // the engine is still trying
      return;
    }
    result = status == protocol::kStatusCompleted ? 1 : 0;
  }
  window.stop_timer(kStatusTimer);
  // The last words of the dialog say why it failed.
  if (!sent_) {
    window.set_text(kStatusText, text(frame::kTextConnectionErrors));
  } else if (result == 0) {
    window.set_text(kStatusText, text(frame::kTextNoAnswer));
  }
  window.end(result);
}

void NoWaitProcedure::on_button(DialogWindow& window, int32_t control) {
  if (control == kButtonOk || control == kButtonCancel) {
    window.stop_timer(kStatusTimer);
    window.end(0);
  }
}

}  // namespace quibra::ui

#include "ui/tonvox_procedure.h"

#include <string>

#include "frame/com_texts.h"
#include "frame/module.h"
#include "frame/unit_names.h"
#include "platform/registry.h"
#include "protocol/transfer_texts.h"
#include "sound/tonvox_download.h"
#include "ui/message_box.h"

namespace quibra::ui {
namespace {

constexpr const char* kCaption = "Tonvox";

struct StartFailure {
  int32_t code;
  const char* text;
};

// What the user is told when the sound card cannot be opened. Out of memory closes silently.
constexpr StartFailure kStartFailures[] = {
    {sound::kTonvoxDeviceFailed, "An error occurred in opening sound card connection"},
    {sound::kTonvoxFormatUnsupported,
     "Required sound recording format is not supported by your sound card."},
    {sound::kTonvoxDeviceBusy,
     "An another application is recording. Close that application and try again. Check also "
     "recording settings."},
    {sound::kTonvoxNoSoundCard, "No sound card found."},
};

}  // namespace

void TonvoxProcedure::on_start(DialogWindow& window) {
  window.center();
  window.set_caption(frame::MonitorName(monitor_type_, 0));
  const std::string text = protocol::SharedDialogText();
  window.set_text(kStatusText, text.empty() ? frame::GetComText(frame::kTextReading) : text);
  window.set_text(kButtonCancel, frame::GetComText(frame::kTextCancel));
  window.set_text(kButtonRetry, frame::GetComText(frame::kTextRetry));
  window.enable(kButtonRetry, false);
  window.set_progress_range(kProgressBar, 0, 100, 1);
  window.set_progress_range(kLevelBar, 0, 100, 1);

  const int32_t started =
      module().tonvox.start(monitor_type_, gain_level_, sample_rate_, debug_dump_, false);
  if (started != sound::kTonvoxStarted) {
    for (const StartFailure& failure : kStartFailures) {
      if (failure.code == started) message_box_host().show(failure.text, kCaption);
    }
    window.end(0);
    return;
  }
  window.set_icon(kIconPlace, kIconTonvoxWaiting);
  window.start_timer(kTonvoxTimer, kTonvoxPollMs);
}

void TonvoxProcedure::fail(DialogWindow& window, int32_t text) {
  window.stop_timer(kTonvoxTimer);
  module().tonvox.end(false);
  window.enable(kButtonRetry, true);
  window.set_icon(kIconPlace, kIconTonvoxFailed);
  window.set_text(kStatusText, frame::GetComText(text));
  window.set_progress(kLevelBar, 0);
}

void TonvoxProcedure::show_level(DialogWindow& window) {
  const int32_t level = module().tonvox.level();
  if (level == sound::kTonvoxLevelBusy) return;
  window.set_progress(kLevelBar, level);
  const bool out_of_range = level < kLevelTooQuiet || level >= kLevelTooLoud;
  window.set_bar_colour(kLevelBar, out_of_range ? kRed : -1);
}

void TonvoxProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kTonvoxTimer) return;
  const int32_t progress = module().tonvox.progress();
  switch (progress) {
    case sound::kTonvoxProgressBusy:
      return;  // ask again at the next tick
    case sound::kTonvoxSilent:
      fail(window, frame::kTextNoAnswer);
      return;
    case sound::kTonvoxDataError:
      fail(window, frame::kTextConnectionErrors);
      return;
    case 100:
      window.stop_timer(kTonvoxTimer);
      // Data that does not fit the transfer buffer is cut there; the dialog still succeeds.
      sound::CopyTonvoxData();
      module().tonvox.end(false);
      window.end(1);
      return;
    default:
      break;
  }
  if (progress != 0) {
    window.set_progress(kProgressBar, progress);
    window.set_icon(kIconPlace, kIconTonvoxReceiving);
    window.set_text(kStatusText, frame::GetComText(frame::kTextReading));
  }
  show_level(window);
}

void TonvoxProcedure::on_button(DialogWindow& window, int32_t control) {
  if (control != kButtonCancel && control != kButtonRetry) return;
  window.stop_timer(kTonvoxTimer);
  module().tonvox.end(false);
  if (control == kButtonRetry) {
    retry_ = true;
    platform::clock().sleep_ms(kTonvoxRetryPauseMs);
  }
  window.end(0);
}

}  // namespace quibra::ui

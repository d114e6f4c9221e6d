#include "sound/tonvox_dialog.h"

#include <string>

#include "frame/com_texts.h"
#include "frame/module.h"
#include "frame/unit_names.h"
#include "platform/registry.h"
#include "protocol/transfer_texts.h"
#include "sound/tonvox_download.h"
#include "ui/dialog_window.h"
#include "ui/message_box.h"

namespace quibra::sound {
namespace {

constexpr const char* kCaption = "Tonvox";

struct StartFailure {
  int32_t code;
  const char* text;
};

// What the user is told when the sound card cannot be opened. Out of memory closes silently.
constexpr StartFailure kStartFailures[] = {
    {kTonvoxDeviceFailed, "An error occurred in opening sound card connection"},
    {kTonvoxFormatUnsupported,
     "Required sound recording format is not supported by your sound card."},
    {kTonvoxDeviceBusy,
     "An another application is recording. Close that application and try again. Check also "
     "recording settings."},
    {kTonvoxNoSoundCard, "No sound card found."},
};

}  // namespace

void TonvoxProcedure::on_start(ui::DialogWindow& window) {
  window.center();
  window.set_caption(frame::MonitorName(monitor_type_, 0));
  const std::string text = protocol::SharedDialogText();
  window.set_text(ui::kStatusText, text.empty() ? frame::GetComText(frame::kTextReading) : text);
  window.set_text(ui::kButtonCancel, frame::GetComText(frame::kTextCancel));
  window.set_text(ui::kButtonRetry, frame::GetComText(frame::kTextRetry));
  window.enable(ui::kButtonRetry, false);
  window.set_progress_range(ui::kProgressBar, 0, 100, 1);
  window.set_progress_range(ui::kLevelBar, 0, 100, 1);

  const int32_t started =
      module().tonvox.start(monitor_type_, gain_level_, sample_rate_, debug_dump_, false);
  if (started != kTonvoxStarted) {
    for (const StartFailure& failure : kStartFailures) {
      if (failure.code == started) ui::message_box_host().show(failure.text, kCaption);
    }
    window.end(0);
    return;
  }
  window.set_icon(ui::kIconPlace, ui::kIconTonvoxWaiting);
  window.start_timer(kTonvoxTimer, kTonvoxPollMs);
}

void TonvoxProcedure::fail(ui::DialogWindow& window, int32_t text) {
  window.stop_timer(kTonvoxTimer);
  module().tonvox.end(false);
  window.enable(ui::kButtonRetry, true);
  window.set_icon(ui::kIconPlace, ui::kIconTonvoxFailed);
  window.set_text(ui::kStatusText, frame::GetComText(text));
  window.set_progress(ui::kLevelBar, 0);
}

void TonvoxProcedure::show_level(ui::DialogWindow& window) {
  const int32_t level = module().tonvox.level();
  window.set_progress(ui::kLevelBar, level);
  const bool out_of_range = level < kLevelTooQuiet || level >= kLevelTooLoud;
  window.set_bar_colour(ui::kLevelBar, out_of_range ? ui::kRed : -1);
}

void TonvoxProcedure::on_timer(ui::DialogWindow& window, int32_t timer) {
  if (timer != kTonvoxTimer) return;
  const int32_t progress = module().tonvox.progress();
  switch (progress) {
    case kTonvoxSilent:
      fail(window, frame::kTextNoAnswer);
      return;
    case kTonvoxDataError:
      fail(window, frame::kTextConnectionErrors);
      return;
    case 100:
      window.stop_timer(kTonvoxTimer);
      // Data that does not fit the transfer buffer is cut there; the dialog still succeeds.
      CopyTonvoxData();
      module().tonvox.end(false);
      window.end(1);
      return;
    default:
      break;
  }
  if (progress != 0) {
    window.set_progress(ui::kProgressBar, progress);
    window.set_icon(ui::kIconPlace, ui::kIconTonvoxReceiving);
    window.set_text(ui::kStatusText, frame::GetComText(frame::kTextReading));
  }
  show_level(window);
}

void TonvoxProcedure::on_button(ui::DialogWindow& window, int32_t control) {
  if (control != ui::kButtonCancel && control != ui::kButtonRetry) return;
  window.stop_timer(kTonvoxTimer);
  module().tonvox.end(false);
  if (control == ui::kButtonRetry) {
    retry_ = true;
    platform::clock().sleep_ms(kTonvoxRetryPauseMs);
  }
  window.end(0);
}

}  // namespace quibra::sound

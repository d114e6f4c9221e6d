#include "ui/busy_dialog.h"

#include "frame/com_texts.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "ui/dialog_host.h"

namespace quibra::ui {

void BusyProcedure::on_start(DialogWindow& window) {
  window.center();
  window.set_caption(caption_);
  window.set_text(kStatusText, text_);
  window.play_animation(kAnimation, kBusyClipResource);
  window.start_timer(kBusyTimer, kBusyTickMs);
  started_ms_ = platform::clock().tick_ms();
}

void BusyProcedure::close(DialogWindow& window, int32_t result) {
  window.stop_timer(kBusyTimer);
  const uint32_t elapsed = platform::clock().tick_ms() - started_ms_;
  if (elapsed < kBusyMinimumMs) platform::clock().sleep_ms(kBusyMinimumMs - elapsed);
  window.stop_animation(kAnimation);
  window.end(result);
}

void BusyProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer == kBusyTimer && done_.load() != 0) close(window, 0);
}

void BusyProcedure::on_button(DialogWindow& window, int32_t control) {
  if (control == kButtonOk || control == kButtonCancel) close(window, 1);
}

BusyDialog::~BusyDialog() {
  end();
  join();
}

void BusyDialog::join() {
  if (thread_.joinable()) thread_.join();
}

void BusyDialog::start(uint32_t parent) {
  // A dialog still open from an earlier operation is told to close first.
  end();
  join();
  parent_ = parent;
  // Cleared here rather than on the dialog's thread, so that an end() right after start() is
  // never lost.
  done_.store(0);
  std::string caption = frame::GetComText(frame::kTextTitle);
  std::string text = frame::GetComText(frame::kTextWriting);
  thread_ = std::thread([this, caption = std::move(caption), text = std::move(text)]() mutable {
    BusyProcedure procedure(done_, std::move(caption), std::move(text));
    dialog_host().run_modal(DialogId::ConnectionNew, parent_, procedure);
  });
  platform::clock().sleep_ms(kBusyStartPauseMs);
}

void StartBusyDialog(uint32_t parent) {
  module().busy_dialog.start(parent);
}

void EndBusyDialog() {
  module().busy_dialog.end();
}

}  // namespace quibra::ui

#include "ui/dialog_observer.h"

#include <algorithm>
#include <cstring>

#include "frame/module.h"

namespace quibra::ui {
namespace {

DialogObservers& observers() {
  return module().dialog_observers;
}

void copy_text(char* out, size_t size, const char* text) {
  std::strncpy(out, text, size - 1);
  out[size - 1] = '\0';
}

}  // namespace

void DialogObservers::set(QuibraDialogObserver observer, void* context) {
  std::lock_guard guard(observer_lock_);
  observer_ = observer;
  context_ = context;
}

bool DialogObservers::attached() {
  std::lock_guard guard(observer_lock_);
  return observer_ != nullptr;
}

void DialogObservers::notify(const QuibraDialogEvent& event) {
  QuibraDialogObserver observer;
  void* context;
  {
    std::lock_guard guard(observer_lock_);
    observer = observer_;
    context = context_;
  }
  if (observer != nullptr) observer(&event, context);
}

void DialogObservers::push(PressTarget* target) {
  std::lock_guard guard(targets_lock_);
  targets_.push_back(target);
}

void DialogObservers::remove(PressTarget* target) {
  std::lock_guard guard(targets_lock_);
  targets_.erase(std::remove(targets_.begin(), targets_.end(), target), targets_.end());
}

int32_t DialogObservers::press(int32_t control) {
  // Under the lock: the dialog cannot close (and remove itself) while it takes the press.
  std::lock_guard guard(targets_lock_);
  if (targets_.empty()) return 0;
  targets_.back()->press(control);
  return 1;
}

void SetDialogObserver(QuibraDialogObserver observer, void* context) {
  observers().set(observer, context);
}

void NotifyDialogEvent(const QuibraDialogEvent& event) {
  observers().notify(event);
}

bool DialogObserverAttached() {
  return observers().attached();
}

void NotifyOpened(const char* dialog) {
  QuibraDialogEvent event{};
  event.Kind = QUIBRA_DIALOG_OPENED;
  copy_text(event.Dialog, sizeof event.Dialog, dialog);
  NotifyDialogEvent(event);
}

void NotifyControl(const char* dialog, int32_t control, const std::string& text, bool enabled,
                   bool visible, int32_t progress, int32_t colour) {
  QuibraDialogEvent event{};
  event.Kind = QUIBRA_DIALOG_CONTROL;
  copy_text(event.Dialog, sizeof event.Dialog, dialog);
  event.Control = control;
  event.Enabled = enabled ? 1 : 0;
  event.Visible = visible ? 1 : 0;
  event.Progress = progress;
  event.Colour = colour;
  copy_text(event.Text, sizeof event.Text, text.c_str());
  NotifyDialogEvent(event);
}

void NotifyClosed(const char* dialog, int32_t result) {
  QuibraDialogEvent event{};
  event.Kind = QUIBRA_DIALOG_CLOSED;
  copy_text(event.Dialog, sizeof event.Dialog, dialog);
  event.Result = result;
  NotifyDialogEvent(event);
}

void NotifyAwaitingChoice(const char* dialog, const std::string& status) {
  QuibraDialogEvent event{};
  event.Kind = QUIBRA_DIALOG_AWAITING_CHOICE;
  copy_text(event.Dialog, sizeof event.Dialog, dialog);
  copy_text(event.Text, sizeof event.Text, status.c_str());
  NotifyDialogEvent(event);
}

void NotifyMessageBox(const std::string& caption, const std::string& text) {
  QuibraDialogEvent event{};
  event.Kind = QUIBRA_DIALOG_MESSAGE_BOX;
  copy_text(event.Dialog, sizeof event.Dialog, "MESSAGE_BOX");
  event.Result = 1;
  copy_text(event.Text, sizeof event.Text, text.c_str());
  copy_text(event.Caption, sizeof event.Caption, caption.c_str());
  NotifyDialogEvent(event);
}

void PushPressTarget(PressTarget* target) {
  observers().push(target);
}

void RemovePressTarget(PressTarget* target) {
  observers().remove(target);
}

int32_t PressDialogButton(int32_t control) {
  return observers().press(control);
}

}  // namespace quibra::ui

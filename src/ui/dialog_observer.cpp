#include "ui/dialog_observer.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace quibra::ui {
namespace {

// Process-wide, like the dialogs themselves. Two locks so that an observer may press a button
// from inside its callback. The observer lock is innermost (lock order 6, frame/locks.h): the
// callback runs after it is released.
std::mutex g_observer_lock;
QuibraDialogObserver g_observer = nullptr;
void* g_context = nullptr;

// Lock order 4 (frame/locks.h): a press reaches the open dialog under it, which takes its own
// press queue's lock (order 5).
std::mutex g_targets_lock;
std::vector<PressTarget*> g_targets;

void copy_text(char* out, size_t size, const char* text) {
  std::strncpy(out, text, size - 1);
  out[size - 1] = '\0';
}

}  // namespace

void SetDialogObserver(QuibraDialogObserver observer, void* context) {
  std::lock_guard guard(g_observer_lock);
  g_observer = observer;
  g_context = context;
}

void NotifyDialogEvent(const QuibraDialogEvent& event) {
  QuibraDialogObserver observer;
  void* context;
  {
    std::lock_guard guard(g_observer_lock);
    observer = g_observer;
    context = g_context;
  }
  if (observer != nullptr) observer(&event, context);
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
  std::lock_guard guard(g_targets_lock);
  g_targets.push_back(target);
}

void RemovePressTarget(PressTarget* target) {
  std::lock_guard guard(g_targets_lock);
  g_targets.erase(std::remove(g_targets.begin(), g_targets.end(), target), g_targets.end());
}

int32_t PressDialogButton(int32_t control) {
  std::lock_guard guard(g_targets_lock);
  if (g_targets.empty()) return 0;
  g_targets.back()->press(control);
  return 1;
}

}  // namespace quibra::ui

// The dialog observer: an application (the command-line tool, a test) may watch every dialog the
// library opens, change by change, and press its buttons. Both dialog hosts report to it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "quibra/records.h"

namespace quibra::ui {

class PressTarget;

// The Module's observer and its open dialogs (Module::dialog_observers); the functions below
// reach the module's. Two locks, so that an observer may press a button from inside its
// callback.
class DialogObservers {
 public:
  void set(QuibraDialogObserver observer, void* context);
  bool attached();
  // Calls the observer outside the lock.
  void notify(const QuibraDialogEvent& event);
  void push(PressTarget* target);
  void remove(PressTarget* target);
  int32_t press(int32_t control);

 private:
  // Lock order 6, innermost (frame/locks.h): the callback runs after it is released, so an
  // observer may press a button from inside its callback.
  std::mutex observer_lock_;
  QuibraDialogObserver observer_ = nullptr;
  void* context_ = nullptr;

  // Lock order 4: a press reaches the open dialog under it, which takes its own press queue's
  // lock (order 5).
  std::mutex targets_lock_;
  std::vector<PressTarget*> targets_;  // the dialog opened last at the back
};

// Installs the observer (null removes it). The callback runs on the thread of the dialog.
void SetDialogObserver(QuibraDialogObserver observer, void* context);

// Reports an event to the observer, if one is installed.
void NotifyDialogEvent(const QuibraDialogEvent& event);
// Whether an observer is installed to answer a dialog that waits for a choice.
bool DialogObserverAttached();

// Helpers that fill and send each kind of event.
void NotifyOpened(const char* dialog);
// colour: a progress bar's colour as 0x00BBGGRR, kDefaultColour for the system's.
inline constexpr int32_t kDefaultColour = -1;
void NotifyControl(const char* dialog, int32_t control, const std::string& text, bool enabled,
                   bool visible, int32_t progress, int32_t colour);
void NotifyClosed(const char* dialog, int32_t result);
// The dialog waits for Retry or Cancel after a failed transfer; status is its status line.
void NotifyAwaitingChoice(const char* dialog, const std::string& status);
// A message box (kind 4): shown and dismissed with OK.
void NotifyMessageBox(const std::string& caption, const std::string& text);

// An open dialog that takes button presses from the observer's side.
class PressTarget {
 public:
  virtual ~PressTarget() = default;
  // Called from any thread; the press is handled on the dialog's own thread.
  virtual void press(int32_t control) = 0;
};

// The hosts register their open dialogs; a press goes to the one opened last.
void PushPressTarget(PressTarget* target);
void RemovePressTarget(PressTarget* target);
// 1 when an open dialog took the press, 0 when none is open.
int32_t PressDialogButton(int32_t control);

}  // namespace quibra::ui

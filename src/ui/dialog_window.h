// What a dialog procedure may do with its window, whatever shows it: the win32 host drives a
// real modal dialog, the headless host keeps the state of every control and tells an observer.
#pragma once

#include <cstdint>
#include <string>

namespace quibra::ui {

// Control ids of the transfer dialog templates.
enum ControlId : int32_t {
  kButtonOk = 1,
  kButtonCancel = 2,
  kIconWaitConnect = 1001,
  kStatusText = 1002,
  kIconConnecting1 = 1003,
  kIconNoAnswer = 1004,
  kButtonRetry = 1005,
  kProgressBar = 1006,
  kIconConnecting2 = 1007,
  kLevelBar = 1008,
  kIconPlace = 1009,
  kAnimation = 1013,
};

// The icons of the sound download dialog, by resource number.
enum IconResource : int32_t {
  kIconTonvoxReceiving = 110,
  kIconTonvoxWaiting = 111,
  kIconTonvoxFailed = 115,
};

// How an icon control reports the icon it shows: "#" and the resource number, the name by which
// the resource script and the system's resource calls know a numbered resource.
std::string IconName(int32_t resource);

// A red progress bar, as 0x00BBGGRR.
inline constexpr int32_t kRed = 0x0000FF;

// The library's animation clip resource.
inline constexpr int32_t kBusyClipResource = 122;

class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Places the dialog centred over its owner (or the desktop), kept on the screen.
  virtual void center() = 0;
  virtual void set_caption(const std::string& text) = 0;
  virtual void set_text(int32_t control, const std::string& text) = 0;
  virtual void enable(int32_t control, bool enabled) = 0;
  virtual void show(int32_t control, bool visible) = 0;
  virtual void set_progress_range(int32_t control, int32_t low, int32_t high, int32_t step) = 0;
  virtual void set_progress(int32_t control, int32_t position) = 0;
  // A progress bar's colour (0x00BBGGRR), or the system's with -1.
  virtual void set_bar_colour(int32_t control, int32_t colour) = 0;
  // Shows the icon resource with this number in an icon control.
  virtual void set_icon(int32_t control, int32_t resource) = 0;
  // Plays the clip resource in an animation control from the first to the last frame, over and
  // over, until stopped.
  virtual void play_animation(int32_t control, int32_t resource) = 0;
  virtual void stop_animation(int32_t control) = 0;
  // A timer ticks every interval until stopped; starting it again restarts it.
  virtual void start_timer(int32_t timer, uint32_t interval_ms) = 0;
  virtual void stop_timer(int32_t timer) = 0;
  // Closes the dialog once the current event has been handled; the modal call returns result.
  virtual void end(int32_t result) = 0;
  // The transfer failed and the procedure now waits for Retry or Cancel. A dialog on a screen
  // simply waits for its user; a host that shows nothing must see that someone chooses.
  virtual void await_choice() {}
};

// A dialog's behaviour, driven by three events. The close box arrives as button 2.
class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  virtual void on_start(DialogWindow& window) = 0;
  virtual void on_timer(DialogWindow& window, int32_t timer) = 0;
  virtual void on_button(DialogWindow& window, int32_t control) = 0;
};

}  // namespace quibra::ui

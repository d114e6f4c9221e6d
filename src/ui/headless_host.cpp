#include "ui/headless_host.h"

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "ui/dialog_observer.h"

namespace quibra::ui {
namespace {

// How often the modal loop looks for due timers and presses.
constexpr uint32_t kPollMs = 10;
// The caption is reported as control 0.
constexpr int32_t kCaption = 0;

struct ControlState {
  std::string text;
  bool enabled = true;
  bool visible = true;
  int32_t low = 0, high = 100, step = 1, position = 0;
  int32_t colour = kDefaultColour;
  bool animating = false;
};

struct Timer {
  uint32_t interval = 0;
  uint32_t due = 0;
};

class HeadlessWindow final : public DialogWindow, public PressTarget {
 public:
  explicit HeadlessWindow(const DialogTemplate& layout) : layout_(layout) {
    for (const ControlTemplate& control : layout.controls) {
      ControlState& state = controls_[control.id];
      if (control.kind == ControlKind::Button && control.caption != nullptr)
        state.text = control.caption;
      state.enabled = control.enabled;
      state.visible = control.visible;
    }
  }

  void announce() {
    NotifyOpened(layout_.name);
    for (const auto& [id, state] : controls_)
      report(id, state);
  }

  // A headless dialog has no place on a screen to be centred on.
  void center() override {}

  void set_caption(const std::string& text) override { set_text(kCaption, text); }

  void set_text(int32_t control, const std::string& text) override {
    change(control, [&](ControlState& s) { s.text = text; });
  }
  void enable(int32_t control, bool enabled) override {
    change(control, [&](ControlState& s) { s.enabled = enabled; });
  }
  void show(int32_t control, bool visible) override {
    change(control, [&](ControlState& s) { s.visible = visible; });
  }
  void set_progress_range(int32_t control, int32_t low, int32_t high, int32_t step) override {
    change(control, [&](ControlState& s) {
      s.low = low;
      s.high = high;
      s.step = step;
    });
  }
  void set_progress(int32_t control, int32_t position) override {
    change(control, [&](ControlState& s) { s.position = position; });
  }
  void set_bar_colour(int32_t control, int32_t colour) override {
    change(control, [&](ControlState& s) { s.colour = colour; });
  }
  void set_icon(int32_t control, int32_t resource) override {
    change(control, [&](ControlState& s) { s.text = IconName(resource); });
  }
  void play_animation(int32_t control, int32_t /*resource*/) override {
    change(control, [&](ControlState& s) { s.animating = true; });
  }
  void stop_animation(int32_t control) override {
    change(control, [&](ControlState& s) { s.animating = false; });
  }

  void start_timer(int32_t timer, uint32_t interval_ms) override {
    timers_[timer] = Timer{interval_ms, platform::clock().tick_ms() + interval_ms};
  }
  void stop_timer(int32_t timer) override { timers_.erase(timer); }

  void end(int32_t result) override {
    if (ended_) return;
    ended_ = true;
    result_ = result;
  }

  // Nobody sees a headless dialog: the observer is asked to choose, and without one the dialog
  // takes Cancel, as a user who walked away would have to.
  void await_choice() override {
    if (DialogObserverAttached()) {
      auto status = controls_.find(kStatusText);
      NotifyAwaitingChoice(layout_.name, status != controls_.end() ? status->second.text : "");
    } else {
      press(kButtonCancel);
    }
  }

  void press(int32_t control) override {
    std::lock_guard guard(presses_lock_);
    presses_.push_back(control);
  }

  // One round of the modal loop: presses first, then every timer that is due.
  void pump(DialogProcedure& procedure) {
    for (int32_t control : take_presses()) {
      if (ended_) return;
      procedure.on_button(*this, control);
    }
    const uint32_t now = platform::clock().tick_ms();
    std::vector<int32_t> due;
    for (const auto& [id, timer] : timers_) {
      if (static_cast<int32_t>(now - timer.due) >= 0) due.push_back(id);
    }
    for (int32_t id : due) {
      if (ended_) return;
      auto it = timers_.find(id);
      if (it == timers_.end()) continue;  // stopped by an earlier tick of this round
      it->second.due = now + it->second.interval;
      procedure.on_timer(*this, id);
    }
  }

  bool ended() const { return ended_; }
  int32_t result() const { return result_; }
  const char* name() const { return layout_.name; }

 private:
  template <typename Change>
  void change(int32_t control, Change&& apply) {
    auto it = controls_.find(control);
    if (it == controls_.end()) {
      if (control != kCaption) return;  // no such control in this template
      it = controls_.emplace(kCaption, ControlState{}).first;
    }
    apply(it->second);
    report(control, it->second);
  }

  void report(int32_t control, const ControlState& s) {
    NotifyControl(layout_.name, control, s.text, s.enabled, s.visible, s.position, s.colour);
  }

  std::vector<int32_t> take_presses() {
    std::lock_guard guard(presses_lock_);
    std::vector<int32_t> taken(presses_.begin(), presses_.end());
    presses_.clear();
    return taken;
  }

  const DialogTemplate& layout_;
  std::map<int32_t, ControlState> controls_;
  std::map<int32_t, Timer> timers_;
  // Presses come from any thread. Lock order 5 (frame/locks.h): taken under the press-target
  // lock when the observer presses.
  std::mutex presses_lock_;
  std::deque<int32_t> presses_;
  bool ended_ = false;
  int32_t result_ = 0;
};

}  // namespace

int32_t HeadlessHost::run_modal(DialogId dialog, uint32_t /*parent*/, DialogProcedure& procedure) {
  HeadlessWindow window(Template(dialog));
  window.announce();
  PushPressTarget(&window);
  procedure.on_start(window);
  while (!window.ended()) {
    platform::clock().sleep_ms(kPollMs);
    window.pump(procedure);
  }
  RemovePressTarget(&window);
  NotifyClosed(window.name(), window.result());
  return window.result();
}

}  // namespace quibra::ui

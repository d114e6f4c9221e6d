// Test support for the dialogs: a scripted engine link, a recorder of what the observer saw,
// and a fast clock, on a fresh Module.
#pragma once

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"
#include "transfer/engine_link.h"

namespace quibra::testing {

// An engine stand-in whose status the test sets; a send can switch it to a scripted status.
class ScriptedLink final : public ui::TransferLink {
 public:
  int32_t send(int32_t message, int32_t param) override {
    std::lock_guard guard(lock_);
    sent.push_back({message, param});
    if (!open) return 0;
    status_value = status_after_send.load();
    return 1;
  }
  int32_t status() override { return open ? status_value.load() : 20; }
  int32_t progress() override { return progress_value.load(); }
  void cancel() override { ++cancels; }

  std::vector<std::pair<int32_t, int32_t>> sends() {
    std::lock_guard guard(lock_);
    return sent;
  }

  std::atomic<bool> open{true};
  std::atomic<int32_t> status_value{0};
  std::atomic<int32_t> status_after_send{0};
  std::atomic<int32_t> progress_value{0};
  std::atomic<int32_t> cancels{0};

 private:
  std::mutex lock_;
  std::vector<std::pair<int32_t, int32_t>> sent;
};

struct ControlView {
  std::string text;
  bool enabled = false;
  bool visible = false;
  int32_t progress = 0;
  int32_t colour = -1;
};

// Everything the dialog observer reported, and a hook that may act on each event.
class DialogRecorder {
 public:
  std::vector<QuibraDialogEvent> events;
  std::map<int32_t, ControlView> controls;  // latest state of the dialog open now
  std::function<void(const QuibraDialogEvent&)> on_event;
  // Display updates end with the wait icon (1001); those after the caption was set are the
  // procedure's own, one at start-up and one per timer tick.
  bool captioned = false;

  bool is_display_update(const QuibraDialogEvent& e) const {
    return e.Kind == QUIBRA_DIALOG_CONTROL && e.Control == 1001 && captioned;
  }

  static void observe(const QuibraDialogEvent* event, void* context) {
    auto* self = static_cast<DialogRecorder*>(context);
    self->events.push_back(*event);
    if (event->Kind == QUIBRA_DIALOG_OPENED) {
      self->controls.clear();
      self->captioned = false;
    }
    if (event->Kind == QUIBRA_DIALOG_CONTROL && event->Control == 0) self->captioned = true;
    if (event->Kind == QUIBRA_DIALOG_CONTROL) {
      self->controls[event->Control] = {event->Text, event->Enabled != 0, event->Visible != 0,
                                        event->Progress, event->Colour};
    }
    if (self->on_event) self->on_event(*event);
  }

  // The visibility of a control at each of its reports.
  std::vector<bool> visibility_history(int32_t control) const {
    std::vector<bool> seen;
    for (const auto& e : events) {
      if (e.Kind == QUIBRA_DIALOG_CONTROL && e.Control == control) seen.push_back(e.Visible != 0);
    }
    return seen;
  }
};

class DialogTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_clock(&clock_);
    transfer::set_transfer_link(&link_);
    fnQuibraExt_SetDialogObserver(&DialogRecorder::observe, &recorder_);
  }
  void TearDown() override {
    fnQuibraExt_SetDialogObserver(nullptr, nullptr);
    ModuleTest::TearDown();  // joins a busy dialog still open
    transfer::set_transfer_link(nullptr);
    platform::set_clock(nullptr);
  }

  CommParams params(bool dialog, const char* text = "") {
    CommParams p{};
    p.Size = QUIBRA_COMM_PARAMS_SIZE;
    p.LinkType = 1;
    p.ShowDialog = dialog ? 1 : 0;
    std::strncpy(p.DialogText, text, sizeof p.DialogText - 1);
    return p;
  }

  platform::ScaledClock clock_{0.02};
  ScriptedLink link_;
  DialogRecorder recorder_;
};

}  // namespace quibra::testing

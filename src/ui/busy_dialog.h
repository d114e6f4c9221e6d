// The busy dialog: an animated dialog on a thread of its own that covers an operation sending
// many messages silently. It stays at least one second and closes at the first tick of its
// one-second timer after the operation says it is done.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "ui/dialog_window.h"

namespace quibra::ui {

inline constexpr int32_t kBusyTimer = 1;
inline constexpr uint32_t kBusyTickMs = 1000;
inline constexpr uint32_t kBusyMinimumMs = 1000;
inline constexpr uint32_t kBusyStartPauseMs = 200;

// IR_CONNECTION_NEW. It reads nothing of the Module: the thread it runs on may outlive a call.
class BusyProcedure final : public DialogProcedure {
 public:
  BusyProcedure(const std::atomic<int32_t>& done, std::string caption, std::string text)
      : done_(done), caption_(std::move(caption)), text_(std::move(text)) {}
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

 private:
  void close(DialogWindow& window, int32_t result);

  const std::atomic<int32_t>& done_;
  std::string caption_;
  std::string text_;
  uint32_t started_ms_ = 0;
};

// The module's busy dialog: at most one at a time.
class BusyDialog {
 public:
  ~BusyDialog();
  // Opens the dialog on its own thread, owned by parent; returns after 200 ms.
  void start(uint32_t parent);
  // Asks the dialog to close at its next tick.
  void end() { done_.store(1); }

 private:
  void join();

  std::atomic<int32_t> done_{0};
  uint32_t parent_ = 0;
  std::thread thread_;
};

void StartBusyDialog(uint32_t parent);
void EndBusyDialog();

}  // namespace quibra::ui

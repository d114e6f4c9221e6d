// The procedure of the "TONVOX_CONNECTION" dialog: runs a sound reception while the user holds the
// unit to the microphone, shows its progress and the signal level, and offers Retry when it fails.
#pragma once

#include <cstdint>

#include "ui/dialog_window.h"

namespace quibra::sound {

inline constexpr int32_t kTonvoxTimer = 0;
inline constexpr uint32_t kTonvoxPollMs = 300;
// Retry waits this long before the dialog closes.
inline constexpr uint32_t kTonvoxRetryPauseMs = 300;
// The level bar turns red below this level and from the upper one on: too quiet or too loud.
inline constexpr int32_t kLevelTooQuiet = 10;
inline constexpr int32_t kLevelTooLoud = 91;

class TonvoxProcedure final : public ui::DialogProcedure {
 public:
  TonvoxProcedure(int32_t monitor_type, int32_t sample_rate, int32_t gain_level, bool debug_dump)
      : monitor_type_(monitor_type),
        sample_rate_(sample_rate),
        gain_level_(gain_level),
        debug_dump_(debug_dump) {}
  void on_start(ui::DialogWindow& window) override;
  void on_timer(ui::DialogWindow& window, int32_t timer) override;
  void on_button(ui::DialogWindow& window, int32_t control) override;

  bool retry_requested() const { return retry_; }

 private:
  void fail(ui::DialogWindow& window, int32_t text);
  void show_level(ui::DialogWindow& window);

  int32_t monitor_type_;
  int32_t sample_rate_;
  int32_t gain_level_;
  bool debug_dump_;
  bool retry_ = false;
};

}  // namespace quibra::sound

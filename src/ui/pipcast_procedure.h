// The "PIPCAST_CONNECTION" dialog: shows what is being sent while the upload sound plays.
#pragma once

#include <string>

#include "ui/dialog_window.h"

namespace quibra::ui {

inline constexpr int32_t kPipcastTimer = 0;
inline constexpr uint32_t kPipcastStartMs = 50;

// Opens, plays the wave file at its first tick (50 ms), and closes when playback has ended.
// Cancel and the close box do nothing: the dialog ends with the sound.
class PipcastProcedure final : public DialogProcedure {
 public:
  explicit PipcastProcedure(std::string wave_path) : wave_path_(std::move(wave_path)) {}
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

 private:
  std::string wave_path_;
};

}  // namespace quibra::ui

// The exercise download dialog (IR_CONNECTION with a procedure of its own) and its silent twin:
// fetch the unit's exercise memory (9011), listen for the unit's own transfer (9025), or fetch
// one file (9106), as the exercise download selection says.
#pragma once

#include <cstdint>

#include "ui/dialog_window.h"

namespace quibra::ui {

// The message the selection asks for; for a single file its request image is filled first
// (file index low and high byte, the low byte of the byte limit).
int32_t PrepareExerciseDownload();

// Follows the download every 300 ms with the progress bar; on completion refreshes the unit
// information and closes with 1; offers Retry after a connection error or no answer; Cancel
// stops the transfer and closes with 0.
class DownloadProcedure final : public DialogProcedure {
 public:
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

 private:
  void send(DialogWindow& window);
  int32_t message_ = 0;  // kept for Retry
};

// The silent twin: polls every 300 ms until 10, 20 or 30 and returns that status (refreshing the
// unit information first on 10).
int32_t SilentExerciseDownload();

}  // namespace quibra::ui

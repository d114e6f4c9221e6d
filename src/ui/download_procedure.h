// The exercise download dialog (IR_CONNECTION with a procedure of its own) and its silent twin:
// fetch the unit's exercise memory (9011), listen for the unit's own transfer (9025), or fetch
// one file (9106), as the exercise download selection says.
#pragma once

#include <cstdint>

#include "ui/dialog_window.h"
#include "ui/transfer_link.h"

namespace quibra::ui {

// Called on the dialog's thread when a download completed, before the dialog closes: re-reads
// what the unit told about itself (single_file: the download was one file).
using DownloadCompleted = void (*)(int32_t single_file);

// Follows the download every 300 ms with the progress bar; on completion refreshes the unit
// information and closes with 1; offers Retry after a connection error or no answer; Cancel
// stops the transfer and closes with 0.
class DownloadProcedure final : public DialogProcedure {
 public:
  DownloadProcedure(TransferLink& link, DownloadCompleted completed)
      : link_(link), completed_(completed) {}
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

 private:
  bool send(DialogWindow& window);  // false when no link took the message
  TransferLink& link_;
  DownloadCompleted completed_;
  int32_t message_ = 0;  // kept for Retry
  uint32_t mark_ = 0;    // the cancel requests before the last send
};

// The silent twin: polls every 300 ms until the status is final and returns it (refreshing the
// unit information first when the download completed). A cancel request ends it at once with a
// status that is not final, which the exports report as 0.
int32_t SilentExerciseDownload(TransferLink& link, DownloadCompleted completed);

}  // namespace quibra::ui

// Draws the library's dialogs on a terminal: one status line with the dialog's text and, while
// a progress bar is shown, the bar itself. A command of many transfers (a memory dump opens a
// dialog for every page) keeps redrawing the same line. Not on a terminal, each new status text
// is logged once (with --verbose: every text of every dialog); with --quiet nothing is drawn.
// After a failed transfer it asks "Retry? [y/N]" when stdin is a terminal and presses Cancel
// otherwise (and when the command is being stopped).
#pragma once

#include <cstdio>
#include <string>

#include "quibra/quibra.h"

namespace quibra::cli {

class TerminalView {
 public:
  explicit TerminalView(std::FILE* out = stderr);
  ~TerminalView();
  TerminalView(const TerminalView&) = delete;
  TerminalView& operator=(const TerminalView&) = delete;

  // Presses Cancel when a dialog offers Retry: for a reception that cannot be repeated (a
  // recording plays once), where the dialog would otherwise wait for a user who is not there.
  void cancel_when_retry_offered() { cancel_on_retry_ = true; }

 private:
  static void observe(const QuibraDialogEvent* event, void* context);
  void on_event(const QuibraDialogEvent& event);
  void draw();
  bool ask_retry();

  std::FILE* out_;
  const bool interactive_;  // a terminal: redraw one line; else log the texts line by line
  const bool quiet_;
  const bool verbose_;
  std::string text_;
  std::string logged_;
  bool bar_visible_ = false;
  int progress_ = 0;
  bool drawn_ = false;
  bool cancel_on_retry_ = false;
};

}  // namespace quibra::cli

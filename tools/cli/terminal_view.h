// Draws the library's dialogs on a terminal: one status line with the dialog's text and, while
// a progress bar is shown, the bar itself. After a failed transfer it asks "Retry? [y/N]" when
// stdin is a terminal and presses Cancel otherwise. Ctrl-C presses Cancel in the dialog that is
// open, and ends the program when none is.
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

 private:
  static void observe(const QuibraDialogEvent* event, void* context);
  void on_event(const QuibraDialogEvent& event);
  void draw();
  bool ask_retry();

  std::FILE* out_;
  const bool interactive_;  // a terminal: redraw one line; else log the texts line by line
  std::string text_;
  std::string logged_;
  bool bar_visible_ = false;
  int progress_ = 0;
  bool drawn_ = false;
};

// Routes Ctrl-C to the dialogs for the rest of the program (call once, before any thread
// starts).
void RouteInterruptToDialogs();

}  // namespace quibra::cli

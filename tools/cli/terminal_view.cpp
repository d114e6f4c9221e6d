#include "terminal_view.h"

#include <unistd.h>

#include <algorithm>

#include "command_line.h"
#include "stop_control.h"

namespace quibra::cli {
namespace {

constexpr int32_t kStatusText = 1002;
constexpr int32_t kProgressBar = 1006;
constexpr int32_t kCancel = 2;
constexpr int32_t kRetry = 1005;
constexpr int kBarWidth = 30;

}  // namespace

TerminalView::TerminalView(std::FILE* out)
    : out_(out),
      interactive_(isatty(fileno(out)) != 0 && !Global().verbose),
      quiet_(Global().quiet),
      verbose_(Global().verbose) {
  fnQuibraExt_SetDialogObserver(&observe, this);
}

TerminalView::~TerminalView() {
  fnQuibraExt_SetDialogObserver(nullptr, nullptr);
  if (drawn_) std::fputc('\n', out_);
  std::fflush(out_);
}

void TerminalView::observe(const QuibraDialogEvent* event, void* context) {
  static_cast<TerminalView*>(context)->on_event(*event);
}

void TerminalView::on_event(const QuibraDialogEvent& event) {
  switch (event.Kind) {
    case QUIBRA_DIALOG_OPENED:
      // A stop asked for before the dialog showed: it is cancelled at once.
      if (StopRequested()) fnQuibraExt_PressDialogButton(kCancel);
      text_.clear();
      bar_visible_ = false;
      progress_ = 0;
      break;
    case QUIBRA_DIALOG_CONTROL:
      if (cancel_on_retry_ && event.Control == kRetry && event.Enabled != 0)
        fnQuibraExt_PressDialogButton(kCancel);
      if (event.Control == kStatusText) {
        if (text_ == event.Text) return;
        text_ = event.Text;
      } else if (event.Control == kProgressBar) {
        if (bar_visible_ == (event.Visible != 0) && progress_ == event.Progress) return;
        bar_visible_ = event.Visible != 0;
        progress_ = std::clamp(event.Progress, 0, 100);
      } else {
        return;
      }
      draw();
      break;
    case QUIBRA_DIALOG_CLOSED:
      // The line is cleared, not ended: the next dialog (a dump opens one for every page) draws
      // on the same line, and what the command prints starts on a clean one.
      if (verbose_) logged_.clear();
      if (drawn_) std::fputs("\r\033[K", out_);
      std::fflush(out_);
      drawn_ = false;
      break;
    case QUIBRA_DIALOG_AWAITING_CHOICE:
      // Nobody is asked while the command is stopped, nor for a recording that plays once.
      fnQuibraExt_PressDialogButton(!StopRequested() && !cancel_on_retry_ && ask_retry() ? kRetry
                                                                                         : kCancel);
      break;
    case QUIBRA_DIALOG_MESSAGE_BOX:
      if (drawn_) std::fputc('\n', out_);
      drawn_ = false;
      std::fprintf(out_, "%s: %s\n", event.Caption, event.Text);
      std::fflush(out_);
      break;
    default:
      break;
  }
}

// The transfer failed: someone at a terminal chooses, anyone else gets Cancel so that the
// program ends.
bool TerminalView::ask_retry() {
  if (isatty(STDIN_FILENO) == 0) return false;
  if (drawn_) std::fputc('\n', out_);
  drawn_ = false;
  std::fputs("Retry? [y/N] ", out_);
  std::fflush(out_);
  char answer[16] = {};
  if (std::fgets(answer, sizeof answer, stdin) == nullptr) return false;
  return answer[0] == 'y' || answer[0] == 'Y';
}

void TerminalView::draw() {
  if (quiet_) return;
  if (!interactive_) {
    // A log, not a screen: each new status text on a line of its own, without the bar.
    if (text_.empty() || text_ == logged_) return;
    logged_ = text_;
    std::fprintf(out_, "%s\n", text_.c_str());
    std::fflush(out_);
    return;
  }
  std::string line = "\r\033[K" + text_;
  if (bar_visible_) {
    const int filled = progress_ * kBarWidth / 100;
    line += " [" + std::string(static_cast<size_t>(filled), '#') +
            std::string(static_cast<size_t>(kBarWidth - filled), '.') + "] " +
            std::to_string(progress_) + "%";
  }
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  drawn_ = true;
}

}  // namespace quibra::cli

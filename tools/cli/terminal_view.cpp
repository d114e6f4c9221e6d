#include "terminal_view.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace quibra::cli {
namespace {

constexpr int32_t kStatusText = 1002;
constexpr int32_t kProgressBar = 1006;
constexpr int32_t kCancel = 2;
constexpr int32_t kRetry = 1005;
constexpr int kBarWidth = 30;

}  // namespace

TerminalView::TerminalView(std::FILE* out) : out_(out), interactive_(isatty(fileno(out)) != 0) {
  fnQuibraExt_SetDialogObserver(&observe, this);
}

TerminalView::~TerminalView() {
  fnQuibraExt_SetDialogObserver(nullptr, nullptr);
}

void TerminalView::observe(const QuibraDialogEvent* event, void* context) {
  static_cast<TerminalView*>(context)->on_event(*event);
}

void TerminalView::on_event(const QuibraDialogEvent& event) {
  switch (event.Kind) {
    case QUIBRA_DIALOG_OPENED:
      text_.clear();
      bar_visible_ = false;
      progress_ = 0;
      break;
    case QUIBRA_DIALOG_CONTROL:
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
      logged_.clear();
      if (drawn_) std::fputc('\n', out_);
      drawn_ = false;
      break;
    case QUIBRA_DIALOG_AWAITING_CHOICE:
      fnQuibraExt_PressDialogButton(ask_retry() ? kRetry : kCancel);
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

void RouteInterruptToDialogs() {
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);  // inherited by every thread started later
  std::thread([interrupt] {
    int signal_number = 0;
    for (;;) {
      sigwait(&interrupt, &signal_number);
      if (fnQuibraExt_PressDialogButton(kCancel) == 0) std::_Exit(130);
    }
  }).detach();
}

}  // namespace quibra::cli

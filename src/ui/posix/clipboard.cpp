// On Linux the library has no desktop clipboard to reach: it keeps the last text in memory,
// where the process (a test, the command-line tool) can read it back.
#include <mutex>

#include "ui/clipboard.h"

namespace quibra::ui {
namespace {

class MemoryClipboard final : public Clipboard {
 public:
  bool put_text(const std::string& text) override {
    std::lock_guard guard(lock_);
    text_ = text;
    return true;
  }
  std::string text() override {
    std::lock_guard guard(lock_);
    return text_;
  }

 private:
  std::mutex lock_;  // lock order 6, innermost (frame/locks.h)
  std::string text_;
};

}  // namespace

Clipboard& system_clipboard() {
  static MemoryClipboard clipboard;
  return clipboard;
}

}  // namespace quibra::ui

// The win32 clipboard: plain text (CF_TEXT) in a movable global memory block, which belongs to
// the clipboard once it has been handed over.
#include <windows.h>

#include <cstring>

#include "ui/clipboard.h"

namespace quibra::ui {
namespace {

// Holds the clipboard open for the lifetime of the object.
class OpenedClipboard {
 public:
  OpenedClipboard() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

class Win32Clipboard final : public Clipboard {
 public:
  bool put_text(const std::string& text) override {
    OpenedClipboard opened;
    if (!opened.open() || EmptyClipboard() == FALSE) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block == nullptr) return false;
    void* bytes = GlobalLock(block);
    if (bytes == nullptr) {
      GlobalFree(block);
      return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (SetClipboardData(CF_TEXT, block) == nullptr) {
      GlobalFree(block);  // still ours: the clipboard did not take it
      return false;
    }
    return true;
  }

  std::string text() override {
    OpenedClipboard opened;
    if (!opened.open()) return {};
    HANDLE block = GetClipboardData(CF_TEXT);
    if (block == nullptr) return {};
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    if (bytes == nullptr) return {};
    const std::string text(bytes, strnlen(bytes, GlobalSize(block)));
    GlobalUnlock(block);
    return text;
  }
};

}  // namespace

Clipboard& system_clipboard() {
  static Win32Clipboard clipboard;
  return clipboard;
}

}  // namespace quibra::ui

// The win32 message box: a system box without owner, reported to the dialog observer first.
#include <windows.h>

#include "ui/dialog_observer.h"
#include "ui/message_box.h"

namespace quibra::ui {
namespace {

class Win32MessageBox final : public MessageBoxHost {
 public:
  void show(const std::string& text, const std::string& caption) override {
    NotifyMessageBox(caption, text);
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
  }
  void show_stop(const std::string& text, const std::string& caption) override {
    NotifyMessageBox(caption, text);
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
  }
};

}  // namespace

MessageBoxHost& system_message_box_host() {
  static Win32MessageBox host;
  return host;
}

}  // namespace quibra::ui

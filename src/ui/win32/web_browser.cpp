// The win32 browser: the shell opens the address with the program registered for it.
#include <windows.h>
// (kept apart so that include sorting leaves the order alone)
#include <shellapi.h>

#include <cstdint>

#include "ui/web_browser.h"

namespace quibra::ui {
namespace {

// ShellExecute reports success with a value above 32.
constexpr intptr_t kShellExecuteFailed = 32;

class ShellBrowser final : public WebBrowser {
 public:
  bool open(const std::string& address) override {
    const HINSTANCE done =
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(done) > kShellExecuteFailed;
  }
};

}  // namespace

WebBrowser& system_web_browser() {
  static ShellBrowser browser;
  return browser;
}

}  // namespace quibra::ui

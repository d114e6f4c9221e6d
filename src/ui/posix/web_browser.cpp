// On Linux the page goes to xdg-open, through a shell that starts it in the background and ends
// at once: the library waits only for that shell, and no child of it is left to reap.
#include "ui/web_browser.h"

#include <spawn.h>
#include <sys/wait.h>

extern "C" char** environ;

namespace quibra::ui {
namespace {

class XdgBrowser final : public WebBrowser {
 public:
  bool open(const std::string& address) override {
    const char* argv[] = {"sh",   "-c", "xdg-open \"$1\" >/dev/null 2>&1 &", "sh", address.c_str(),
                          nullptr};
    pid_t shell = 0;
    if (posix_spawnp(&shell, "sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      return false;
    }
    int status = 0;
    return waitpid(shell, &status, 0) == shell && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
};

}  // namespace

WebBrowser& system_web_browser() {
  static XdgBrowser browser;
  return browser;
}

}  // namespace quibra::ui

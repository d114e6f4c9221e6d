// Opening a web page in the user's default browser. Windows hands the address to the shell;
// Linux to xdg-open. The call returns at once, whether the browser came up or not.
#pragma once

#include <string>

namespace quibra::ui {

class WebBrowser {
 public:
  virtual ~WebBrowser() = default;
  // False when the page could not be handed on.
  virtual bool open(const std::string& address) = 0;
};

// The browser in force: a replacement when one is installed, else the platform's.
WebBrowser& web_browser();
void set_web_browser(WebBrowser* replacement);

// The platform's browser.
WebBrowser& system_web_browser();

}  // namespace quibra::ui

// The clipboard of the platform, for plain text. Windows uses the system clipboard; Linux keeps
// the last text put there in memory.
#pragma once

#include <string>

namespace quibra::ui {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's contents by the text; false when the clipboard was not available.
  virtual bool put_text(const std::string& text) = 0;
  // The plain text on the clipboard, empty when there is none.
  virtual std::string text() = 0;
};

// The clipboard in force: a replacement when one is installed, else the platform's.
Clipboard& clipboard();
void set_clipboard(Clipboard* replacement);

// The platform's clipboard.
Clipboard& system_clipboard();

}  // namespace quibra::ui

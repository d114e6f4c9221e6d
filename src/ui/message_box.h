// The message box of the platform: a text and a caption, no owner window, one OK button. The
// call returns when the box has been dismissed. Windows shows a real box; Linux reports it to
// the dialog observer and returns at once.
#pragma once

#include <string>

namespace quibra::ui {

class MessageBoxHost {
 public:
  virtual ~MessageBoxHost() = default;
  virtual void show(const std::string& text, const std::string& caption) = 0;
  // The same box with the stop icon, for a failure the user must know of. A host that shows no
  // icons shows the plain box.
  virtual void show_stop(const std::string& text, const std::string& caption) {
    show(text, caption);
  }
};

// The host in force: a replacement when one is installed, else the platform's.
MessageBoxHost& message_box_host();
void set_message_box_host(MessageBoxHost* replacement);

// The platform's host.
MessageBoxHost& system_message_box_host();

}  // namespace quibra::ui

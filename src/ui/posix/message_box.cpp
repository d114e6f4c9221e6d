// On Linux a message box has no screen to show on: it is reported to the dialog observer and
// counts as dismissed at once.
#include "ui/message_box.h"
#include "ui/dialog_observer.h"

namespace quibra::ui {
namespace {

class HeadlessMessageBox final : public MessageBoxHost {
 public:
  void show(const std::string& text, const std::string& caption) override {
    NotifyMessageBox(caption, text);
  }
};

}  // namespace

MessageBoxHost& system_message_box_host() {
  static HeadlessMessageBox host;
  return host;
}

}  // namespace quibra::ui

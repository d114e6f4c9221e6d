// On Linux the library's dialogs run headless.
#include "ui/dialog_host.h"
#include "ui/headless_host.h"

namespace quibra::ui {

DialogHost& system_dialog_host() {
  static HeadlessHost host;
  return host;
}

}  // namespace quibra::ui

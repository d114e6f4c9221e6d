// The dialog host of the platform: runs a dialog procedure modally on the calling thread and
// returns the result the procedure ended it with. Windows shows real dialogs from the library's
// resources; Linux runs them headless. Either reports every change to the dialog observer.
#pragma once

#include <cstdint>

#include "ui/dialog_templates.h"
#include "ui/dialog_window.h"

namespace quibra::ui {

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Blocks until the procedure ends the dialog. parent is the owner window (0 for none).
  virtual int32_t run_modal(DialogId dialog, uint32_t parent, DialogProcedure& procedure) = 0;
};

// The host in force: a replacement when one is installed, else the platform's.
DialogHost& dialog_host();
void set_dialog_host(DialogHost* replacement);

// The platform's host (headless on Linux, real dialogs on Windows).
DialogHost& system_dialog_host();

}  // namespace quibra::ui

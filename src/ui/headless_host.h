// The headless dialog host: runs a dialog procedure modally on the calling thread without a
// screen. It keeps the state of every control, ticks the dialog's timers from the clock, takes
// button presses from the observer's side, and reports every change to the dialog observer.
#pragma once

#include "ui/dialog_host.h"

namespace quibra::ui {

class HeadlessHost final : public DialogHost {
 public:
  int32_t run_modal(DialogId dialog, uint32_t parent, DialogProcedure& procedure) override;
};

}  // namespace quibra::ui

// Exported entry points of the dialog layer (extensions of our own): argument conversion and
// the exception guard only.
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "ui/dialog_observer.h"

namespace f = quibra::frame;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetDialogObserver(QuibraDialogObserver observer,
                                                             void* context) {
  return f::Guarded<int32_t>(0, [&] {
    quibra::ui::SetDialogObserver(observer, context);
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_PressDialogButton(int32_t control) {
  return f::Guarded<int32_t>(0, [&] { return quibra::ui::PressDialogButton(control); });
}

}  // extern "C"

// Exported entry point of the mobile connection: argument conversion and the exception guard
// only.
#include "exercise/mobile_download.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadFromMobile(uint32_t parentWindow) {
  return quibra::frame::Guarded<int32_t>(
      0, [&] { return quibra::exercise::ReadFromMobile(parentWindow); });
}

}  // extern "C"

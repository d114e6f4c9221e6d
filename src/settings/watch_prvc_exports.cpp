// Exported entry points of the running and cycling units' watch settings: argument conversion
// and the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "settings/watch_settings_prvc.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendWatchSettings(CommParams* params,
                                                               PrvcWatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return record == nullptr ? 0 : s::SendPrvcWatchSettings(cp, *record);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadWatchSettings(CommParams* params,
                                                               PrvcWatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return record == nullptr ? 0 : s::ReadPrvcWatchSettings(cp, *record);
    });
  });
}

}  // extern "C"

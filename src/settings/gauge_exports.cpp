// Exported entry points of the fitness test results: argument conversion and the exception
// guard only.
#include <cstdint>

#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "settings/gauge_results.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadLoadGaugeResults(uint32_t window, int32_t typeGiven,
                                                             int32_t monitorType) {
  return f::Guarded<int32_t>(
      0, [&] { return s::ReadLoadGaugeResults(window, typeGiven, monitorType); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLoadGaugeResult(int32_t entry, int32_t monitorType,
                                                           LoadGaugeResult* record) {
  return f::Guarded<int32_t>(0, [&] {
    return record == nullptr ? 0 : s::GetLoadGaugeResult(entry, monitorType, *record);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadFitGaugeResults(uint32_t window,
                                                            FitGaugeResults* record,
                                                            int32_t monitorType) {
  return f::Guarded<int32_t>(0, [&] {
    return record == nullptr ? 0 : s::ReadFitGaugeResults(window, *record, monitorType);
  });
}

}  // extern "C"

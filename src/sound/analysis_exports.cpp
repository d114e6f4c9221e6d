// Exported entry point of the sound-download analysis: argument conversion and the exception
// guard only.
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "sound/tonvox_analysis.h"

namespace f = quibra::frame;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AnalyzeTonvoxFile(int32_t monitorType, int32_t /*unused1*/,
                                                          int32_t /*unused2*/) {
  return f::Guarded<int32_t>(0, [&] { return quibra::sound::AnalyzeTonvoxFile(monitorType); });
}

}  // extern "C"

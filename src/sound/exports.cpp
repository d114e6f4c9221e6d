// Exported entry points of the sound layer: argument conversion and the exception guard only.
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "sound/pipcast.h"

namespace f = quibra::frame;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WritePipcastData(int32_t count, const int32_t* data) {
  return f::Guarded<int32_t>(0, [&] { return quibra::sound::WritePipcastData(count, data); });
}

}  // extern "C"

// Exported entry points of the exercise files (HRM, binary exercise files, memory dumps):
// argument conversion and the exception guard only.
#include "exercise/hrm_writer.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace x = quibra::exercise;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SaveExerciseHRM(uint32_t window, char* path,
                                                        int32_t /*reserved*/) {
  return f::Guarded<int32_t>(0, [&] { return x::SaveExerciseHRM(window, path); });
}

}  // extern "C"

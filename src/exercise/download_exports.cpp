// Exported entry points of the exercise download: argument conversion and the exception guard
// only.
#include "exercise/exercise_download.h"
#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace x = quibra::exercise;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExercisesData(uint32_t window, int32_t mode) {
  return f::Guarded<int32_t>(0, [&] { return x::ReadExercisesData(window, mode); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExerciseFile(uint32_t window, int32_t file_index,
                                                         int32_t max_bytes) {
  return f::Guarded<int32_t>(0, [&] { return x::ReadExerciseFile(window, file_index, max_bytes); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetExeFileInfoEx(uint32_t window, int32_t file_index,
                                                         ExeFileInfo* info) {
  return f::Guarded<int32_t>(0, [&] {
    return info == nullptr ? 0 : x::GetExeFileInfoEx(window, file_index, *info);
  });
}

QUIBRA_API void QUIBRA_CALL fnQuibra_RefreshMonitorInfo(int32_t extended) {
  f::Guarded<int32_t>(0, [&] {
    x::RefreshMonitorInfo(extended);
    return 1;
  });
}

}  // extern "C"

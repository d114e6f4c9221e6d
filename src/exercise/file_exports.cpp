// Exported entry points of the exercise files (HRM, binary exercise files, memory dumps):
// argument conversion and the exception guard only.
#include "exercise/bin_files.h"
#include "exercise/hrm_writer.h"
#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "platform/dump_path.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace x = quibra::exercise;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SaveExerciseHRM(uint32_t window, char* path,
                                                        int32_t /*reserved*/) {
  return f::Guarded<int32_t>(0, [&] { return x::SaveExerciseHRM(window, path); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SaveExerciseBinFile(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [](CommParams& cp) { return x::SaveExerciseBinFile(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_LoadExerciseBinFile(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [](CommParams& cp) { return x::LoadExerciseBinFile(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBinaryMemoryFile(const char* path, int32_t mode) {
  return f::Guarded<int32_t>(
      0, [&] { return x::ReadBinaryMemoryFile(path == nullptr ? "" : path, mode); });
}

QUIBRA_API int32_t QUIBRA_CALL fnDumpReadEntireMemory(void) {
  return f::Guarded<int32_t>(
      0, [] { return x::ReadBinaryMemoryFile(quibra::platform::MemoryDumpPath(), 0); });
}

}  // extern "C"

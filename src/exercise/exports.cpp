// Exported entry points of the exercise code: argument conversion and the exception guard only.
#include "exercise/analysis.h"
#include "exercise/file_info.h"
#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "frame/module.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace {

quibra::exercise::ExerciseStore& store() {
  return quibra::module().exercise_store;
}
constexpr int32_t kRec = 0;
constexpr int32_t kSwapTimeField = 900;
constexpr int32_t kSwapSetField = 901;
const char kEmpty[] = "";

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AnalyzeFile(int32_t index, int32_t mode) {
  return f::Guarded<int32_t>(0, [&] { return quibra::exercise::AnalyzeFile(index, mode); });
}

QUIBRA_API const char* QUIBRA_CALL fnQuibra_GetExerciseNote(void) {
  return f::Guarded<const char*>(kEmpty, [] { return quibra::module().analysis.note.data(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetExeFileInfo(int32_t index, ExeFileInfo* info) {
  return f::Guarded<int32_t>(0, [&] {
    return info == nullptr ? 0 : quibra::exercise::GetExeFileInfo(index, *info);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SportExeName(char* buffer, int32_t /*reserved*/) {
  return f::Guarded<int32_t>(0, [&] { return quibra::exercise::SportExeName(buffer); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetRecParam(int32_t id) {
  return f::Guarded<int32_t>(0, [&] { return store().GetExerciseParam(kRec, id); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetRecFlags(int32_t id) {
  return f::Guarded<int32_t>(0, [&] { return store().GetExerciseFlag(kRec, id); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfHRMSamples(void) {
  return f::Guarded<int32_t>(0, [] { return store().GetSampleCount(kRec); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetHRMSamples(int32_t channel, int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return store().GetSampleValue(kRec, channel, index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfIntTimes(void) {
  return f::Guarded<int32_t>(0, [] { return store().GetLapCount(kRec); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetIntTimeData(int32_t lap, int32_t field) {
  return f::Guarded<int32_t>(0, [&] { return store().GetLapField(kRec, lap, field); });
}

QUIBRA_API const char* QUIBRA_CALL fnQuibra_GetLapText(int32_t lap, int32_t text_id) {
  return f::Guarded<const char*>(kEmpty,
                                 [&] { return store().GetLapTextField(kRec, lap, text_id); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfSwapTimes(void) {
  return f::Guarded<int32_t>(0, [] { return store().GetLimitSwapCount(kRec); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLimitSwapData(int32_t index, int32_t field) {
  return f::Guarded<int32_t>(0, [&] {
    int32_t time = 0;
    int32_t set = 0;
    if (store().GetLimitSwap(kRec, index, &time, &set) != 1) return 0;
    if (field == kSwapTimeField) return time;
    if (field == kSwapSetField) return set;
    return 0;
  });
}

}  // extern "C"

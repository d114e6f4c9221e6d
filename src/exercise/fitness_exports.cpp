// Exported entry points of the fitness units' data and of the usage counters: argument
// conversion and the exception guard only.
#include "exercise/fitness_data.h"
#include "exercise/j9_reads.h"
#include "exercise/usage_counters.h"
#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace x = quibra::exercise;

extern "C" {

// ---- usage counters and summaries ---------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetUsageCounter(int32_t monitorType, int32_t id) {
  return f::Guarded<int32_t>(x::kNoValue, [&] { return x::GetUsageCounter(monitorType, id); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetWeekSummaryCount(int32_t monitorType) {
  return f::Guarded<int32_t>(x::kNoValue, [&] { return x::GetWeekSummaryCount(monitorType); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetWeekSummaryValue(int32_t monitorType, int32_t week,
                                                            int32_t id) {
  return f::Guarded<int32_t>(x::kNoValue,
                             [&] { return x::GetWeekSummaryValue(monitorType, week, id); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetUserSetting(int32_t monitorType, int32_t id) {
  return f::Guarded<int32_t>(x::kNoValue, [&] { return x::GetUserSetting(monitorType, id); });
}

// ---- J9 reads -----------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [](CommParams& cp) { return x::ReadJ9ExerciseFiles(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn1(void) {
  return f::Guarded<int32_t>(0, [] {
    x::J9ExerciseFilesStart();
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn2(void) {
  return f::Guarded<int32_t>(0, [] { return x::J9ExerciseFilesHeader(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn3(int32_t n) {
  return f::Guarded<int32_t>(0, [&] { return x::J9ExerciseFilesBlock(n); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn4(int32_t n) {
  return f::Guarded<int32_t>(0, [&] {
    x::J9ExerciseFilesCopy(n);
    return x::J9ImageCount();
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults(CommParams* params, int32_t kind) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params,
                             [&](CommParams& cp) { return x::ReadJ9TestResults(cp, kind); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn0(int32_t kind) {
  return f::Guarded<int32_t>(0, [&] { return x::J9TestCountBlock(kind); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn1(int32_t kind) {
  return f::Guarded<int32_t>(0, [&] { return x::J9TestResultsStart(kind); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn2(int32_t kind, int32_t block) {
  return f::Guarded<int32_t>(0, [&] { return x::J9TestResultsBlock(kind, block); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn3(int32_t kind) {
  return f::Guarded<int32_t>(0, [&] {
    x::J9TestResultsCopy(kind);
    return x::J9ImageCount();
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [](CommParams& cp) { return x::ReadJ9Program(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn1(void) {
  return f::Guarded<int32_t>(0, [] { return x::J9ProgramStart(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn2(int32_t block) {
  return f::Guarded<int32_t>(0, [&] { return x::J9ProgramBlock(block); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn3(int32_t block) {
  return f::Guarded<int32_t>(0, [&] {
    x::J9ProgramCopy(block);
    return x::J9ImageCount();
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn4(void) {
  return f::Guarded<int32_t>(0, [] { return x::J9ProgramModeBlock(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn5(void) {
  return f::Guarded<int32_t>(0, [] {
    x::J9ProgramFinish();
    return x::J9ImageCount();
  });
}

// ---- getters ------------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessDataType(void) {
  return f::Guarded<int32_t>(0, [] { return x::GetFitnessDataType(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessFileCount(void) {
  return f::Guarded<int32_t>(0, [] { return x::GetFitnessFileCount(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AnalyzeFile_Fitness(int32_t n) {
  return f::Guarded<int32_t>(0, [&] { return x::AnalyzeFitnessFile(n); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessExeName(char* buffer, int32_t n) {
  return f::Guarded<int32_t>(0, [&] { return x::GetFitnessExeName(buffer, n); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessTestCount(void) {
  return f::Guarded<int32_t>(0, [] { return x::GetFitnessTestCount(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessTestDate(int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return x::GetFitnessTestDate(index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessTestValue(int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return x::GetFitnessTestValue(index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetCalmGaugeTestDate(int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return x::GetCalmGaugeTestDate(index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetCalmGaugeTestValue(int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return x::GetCalmGaugeTestValue(index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetProgramSummary(FitnessProgramSummary* info) {
  return f::Guarded<int32_t>(0, [&] {
    if (info == nullptr) return 0;
    x::GetProgramSummary(*info);
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetProgramFileInfo(int32_t n, FitnessProgramFile* info) {
  return f::Guarded<int32_t>(
      0, [&] { return info != nullptr && x::GetProgramFileInfo(n, *info) ? 1 : 0; });
}

}  // extern "C"

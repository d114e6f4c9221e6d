// Exported entry points of the fitness units' settings, the J9 unit's user block and the
// programme write: argument conversion and the exception guard only.
#include "exercise/j9_reads.h"
#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "settings/cardio_program.h"
#include "settings/fitness_settings.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

namespace {

// Every fitness record goes through here, bounded by its Size (frame/caller_record.h).
template <typename Record, typename Operation>
int32_t WithFitnessRecord(Record* caller, Operation&& operation) {
  return f::WithSizedRecord(
      caller, [](Record& full) { s::RecordDefaults(full); }, std::forward<Operation>(operation));
}

}  // namespace

extern "C" {

// ---- J9 user block and programme write ----------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9UserSettings(CommParams* params,
                                                           FitnessUserSettings* settings) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return WithFitnessRecord(settings,
                               [&](FitnessUserSettings& r) { return s::ReadJ9User(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9UserSettings_fn1(void) {
  return f::Guarded<int32_t>(0, [] {
    quibra::exercise::SetFitnessBlock(s::kJ9UserAddress, s::kJ9UserCount);
    return s::kJ9UserAddress;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9UserSettings_fn2(FitnessUserSettings* settings) {
  return f::Guarded<int32_t>(0, [&] {
    return WithFitnessRecord(settings, [](FitnessUserSettings& r) { return s::UnpackJ9User(r); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteJ9Program_fn1(void) {
  return f::Guarded<int32_t>(0, [] { return s::kProgramWriteBlocks; });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteJ9Program_fn2(int32_t block) {
  return f::Guarded<int32_t>(0, [&] { return s::ProgramWriteBlock(block); });
}

// ---- user data ----------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_PrepareUserSettings(FitnessUserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithFitnessRecord(
        record, [](FitnessUserSettings& r) { return s::PrepareFitnessUser(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendUserSettings(CommParams* params,
                                                            FitnessUserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return WithFitnessRecord(record,
                               [&](FitnessUserSettings& r) { return s::SendFitnessUser(cp, r); });
    });
  });
}

QUIBRA_API FitnessUserSettings* QUIBRA_CALL
fnQuibra_QF_ResetUserSettings(FitnessUserSettings* record) {
  return f::Guarded<FitnessUserSettings*>(nullptr, [&] {
    const int32_t done = WithFitnessRecord(record, [](FitnessUserSettings& r) {
      s::ResetFitnessUser(r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

// ---- exercise limits ----------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL
fnQuibra_QF_PrepareExerciseSettings(FitnessExerciseSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithFitnessRecord(
        record, [](FitnessExerciseSettings& r) { return s::PrepareFitnessExercise(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendExerciseSettings(CommParams* params,
                                                                FitnessExerciseSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return WithFitnessRecord(
          record, [&](FitnessExerciseSettings& r) { return s::SendFitnessExercise(cp, r); });
    });
  });
}

QUIBRA_API FitnessExerciseSettings* QUIBRA_CALL
fnQuibra_QF_ResetExerciseSettings(FitnessExerciseSettings* record) {
  return f::Guarded<FitnessExerciseSettings*>(nullptr, [&] {
    const int32_t done = WithFitnessRecord(record, [](FitnessExerciseSettings& r) {
      s::ResetFitnessExercise(r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

// ---- clock and options --------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_PrepareWatchSettings(int32_t linkType) {
  return f::Guarded<int32_t>(0, [&] {
    s::PrepareFitnessClock(linkType);
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendWatchSettings(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [](CommParams& cp) { return s::SendFitnessClock(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendMonitorSettings(CommParams* params,
                                                               FitnessMonitorSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return WithFitnessRecord(
          record, [&](FitnessMonitorSettings& r) { return s::SendFitnessMonitor(cp, r); });
    });
  });
}

// ---- cardio programme ---------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_PrepareCardioProgram(CardioProgram* record) {
  return f::Guarded<int32_t>(
      0, [&] { return record != nullptr && s::PrepareCardioProgram(*record) ? 1 : 0; });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendCardioProgram(CommParams* params,
                                                             CardioProgram* record) {
  return f::Guarded<int32_t>(0, [&] {
    if (record == nullptr) return 0;
    return f::WithCommParams(params,
                             [&](CommParams& cp) { return s::SendCardioProgram(cp, *record); });
  });
}

}  // extern "C"

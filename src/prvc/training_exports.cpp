// Exported entry points of the monitor settings, exercise settings, training targets and sport
// zones of the running and cycling units: argument conversion and the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "prvc/exercise_settings_prvc.h"
#include "prvc/monitor_settings.h"
#include "prvc/sport_zones.h"
#include "prvc/targets.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace p = quibra::prvc;

namespace {

// A caller's record bounded by its Size, the missing fields of a shorter one taken from
// `defaults`, with the CommParams record beside it.
template <typename Record, typename Defaults, typename Operation>
int32_t WithParamsAndRecord(CommParams* params, Record* record, Defaults&& defaults,
                            Operation&& operation) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, defaults, [&](Record& r) {
      return f::WithCommParams(params, [&](CommParams& cp) { return operation(cp, r); });
    });
  });
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorSettings_PRVC(CommParams* params,
                                                                 PrvcMonitorSettings* record) {
  return WithParamsAndRecord(params, record, p::ResetMonitorSettings, p::SendMonitorSettings);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorSettings_PRVC(CommParams* params,
                                                                 PrvcMonitorSettings* record) {
  return WithParamsAndRecord(params, record, p::ResetMonitorSettings, p::ReadMonitorSettings);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareMonitorSettings_PRVC_X(PrvcMonitorSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, p::ResetMonitorSettings, p::PrepareMonitorSettings);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendExerciseSettings(CommParams* params,
                                                                  PrvcExerciseSettings* record) {
  return WithParamsAndRecord(params, record, p::ResetExerciseSettingsPrvc,
                             p::SendExerciseSettingsPrvc);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadExerciseSettings(CommParams* params,
                                                                  PrvcExerciseSettings* record) {
  return WithParamsAndRecord(params, record, p::ResetExerciseSettingsPrvc,
                             p::ReadExerciseSettingsPrvc);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendDailyTargets(CommParams* params,
                                                              PrvcDailyTargets* record) {
  return WithParamsAndRecord(params, record, p::ResetDailyTargets, p::SendDailyTargets);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendWeeklyTargets(CommParams* params,
                                                               PrvcWeeklyTargets* record) {
  return WithParamsAndRecord(params, record, p::ResetWeeklyTargets, p::SendWeeklyTargets);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendPR3SportZones(CommParams* params,
                                                               PR3SportZones* record) {
  return WithParamsAndRecord(params, record, p::ResetSportZones, p::SendSportZones);
}

}  // extern "C"

// Exported entry points of the bike settings and of the VCQ units' settings: argument
// conversion and the exception guard only.
#include "quibra/quibra.h"

#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "settings/bike_settings.h"
#include "settings/caller_record.h"
#include "settings/vcq.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareBikeSettings(BikeSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record,
                               [](BikeSettings& r) { return s::PrepareBikeSettings(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettings(CommParams* params,
                                                          BikeSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](BikeSettings& r) { return s::SendBikeSettings(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBikesSettings(CommParams* params,
                                                          BikeSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](BikeSettings& r) { return s::ReadBikeSettings(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackBikeSettings(BikeSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record, [](BikeSettings& r) {
      s::UnPackBikeSettings(r);
      return 1;
    });
  });
}

QUIBRA_API BikeSettings* QUIBRA_CALL fnQuibra_ResetBikeSettings(BikeSettings* record) {
  return f::Guarded<BikeSettings*>(nullptr, [&] {
    const int32_t done = s::WithCallerRecord(record, [](BikeSettings& r) {
      s::ResetBikeSettings(r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettingsVCQ(CommParams* params,
                                                             int32_t monitorType, int32_t total1,
                                                             int32_t total2, int32_t date) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::SendBikeTotalsVcq(cp, monitorType, total1, total2, date);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_VCQ_SendExerciseSettings(CommParams* params,
                                                                 VcqExerciseSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return record != nullptr ? s::SendVcqExerciseSettings(cp, *record) : 0;
    });
  });
}

}  // extern "C"

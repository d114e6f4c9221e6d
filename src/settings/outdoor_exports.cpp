// Exported entry points of the outdoor units' settings: argument conversion and the exception
// guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "settings/logo_outdoor.h"
#include "settings/outdoor_calibration.h"
#include "settings/outdoor_info_texts.h"
#include "settings/outdoor_reminders.h"
#include "settings/outdoor_season.h"
#include "settings/outdoor_tests.h"
#include "settings/outdoor_user.h"
#include "settings/outdoor_watch.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

namespace {

// The defaults a shorter caller record's missing fields take: the record's Reset values.
void Defaults(OutdoorWatchSettings& r) {
  s::ResetOutdoorWatch(r);
}
void Defaults(OutdoorReminder& r) {
  s::ResetOutdoorReminder(0, r);
}
void Defaults(TrkUserSettings& r) {
  s::ResetTrkUserSettings(r);
}
// The records without a Reset of their own start empty.
template <typename Record>
void Defaults(Record& r) {
  r = Record{};
}

template <typename Record, typename Operation>
int32_t WithRecord(Record* caller, Operation&& operation) {
  return f::WithSizedRecord(
      caller, [](Record& full) { Defaults(full); }, operation);
}

template <typename Record, typename Operation>
int32_t WithParamsAndRecord(CommParams* params, Record* caller, Operation&& operation) {
  return f::WithCommParams(params, [&](CommParams& cp) {
    return WithRecord(caller, [&](Record& r) { return operation(cp, r); });
  });
}

// A Reset export fills the record and returns it (null for a record it cannot take).
template <typename Record, typename Fill>
Record* ResetRecord(Record* caller, Fill&& fill) {
  const int32_t done = WithRecord(caller, [&](Record& r) {
    fill(r);
    return 1;
  });
  return done != 0 ? caller : nullptr;
}

}  // namespace

extern "C" {

// ---- watch settings -----------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_PrepareWatchSettings(OutdoorWatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record,
                      [](OutdoorWatchSettings& r) { return s::PrepareOutdoorWatch(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendWatchSettings(CommParams* params,
                                                            OutdoorWatchSettings* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::SendOutdoorWatch); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadWatchSettings(CommParams* params,
                                                            OutdoorWatchSettings* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::ReadOutdoorWatch); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackWatchSettings(OutdoorWatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record, [](OutdoorWatchSettings& r) {
      s::UnPackOutdoorWatch(r);
      return 1;
    });
  });
}

QUIBRA_API OutdoorWatchSettings* QUIBRA_CALL
fnQuibra_T_ResetWatchSettings(OutdoorWatchSettings* record) {
  return f::Guarded<OutdoorWatchSettings*>(
      nullptr, [&] { return ResetRecord(record, s::ResetOutdoorWatch); });
}

// ---- reminders ----------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_PrepareReminder(OutdoorReminder* record, int32_t mark) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record, [&](OutdoorReminder& r) {
      return s::PrepareOutdoorReminder(r, mark != 0) ? 1 : 0;
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendReminder(CommParams* params,
                                                       OutdoorReminder* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::SendOutdoorReminder); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadReminder(CommParams* params, int32_t number,
                                                       OutdoorReminder* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithParamsAndRecord(params, record, [&](CommParams& cp, OutdoorReminder& r) {
      return s::ReadOutdoorReminder(cp, number, r);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackReminder(int32_t number, OutdoorReminder* record,
                                                         int32_t offset) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record, [&](OutdoorReminder& r) {
      return s::UnPackOutdoorReminder(number, r, offset) ? 1 : 0;
    });
  });
}

QUIBRA_API OutdoorReminder* QUIBRA_CALL fnQuibra_T_ResetReminder(int32_t number,
                                                                 OutdoorReminder* record) {
  return f::Guarded<OutdoorReminder*>(nullptr, [&] {
    return ResetRecord(record, [&](OutdoorReminder& r) { s::ResetOutdoorReminder(number, r); });
  });
}

// ---- user settings ------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_PrepareUserSettings(TrkUserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record,
                      [](TrkUserSettings& r) { return s::PrepareTrkUserSettings(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendUserSettings(CommParams* params,
                                                           TrkUserSettings* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::SendTrkUserSettings); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadUserSettings(CommParams* params,
                                                           TrkUserSettings* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::ReadTrkUserSettings); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackUserSettings(TrkUserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record,
                      [](TrkUserSettings& r) { return s::UnPackTrkUserSettings(r) ? 1 : 0; });
  });
}

QUIBRA_API TrkUserSettings* QUIBRA_CALL fnQuibra_T_ResetUserSettings(TrkUserSettings* record) {
  return f::Guarded<TrkUserSettings*>(nullptr,
                                      [&] { return ResetRecord(record, s::ResetTrkUserSettings); });
}

// ---- altitude calibration route ---------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendAltCalibRoute(CommParams* params,
                                                            OutdoorCalibPoint* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::SendCalibPoint); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadAltCalibRoute(CommParams* params, int32_t point,
                                                            OutdoorCalibPoint* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithParamsAndRecord(params, record, [&](CommParams& cp, OutdoorCalibPoint& r) {
      return s::ReadCalibPoint(cp, point, r);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackCalibration(int32_t point,
                                                            OutdoorCalibPoint* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record,
                      [&](OutdoorCalibPoint& r) { return s::UnPackCalibPoint(point, r) ? 1 : 0; });
  });
}

// ---- info text ----------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendInfoTexts(CommParams* params,
                                                        OutdoorInfoTexts* record) {
  return f::Guarded<int32_t>(0,
                             [&] { return WithParamsAndRecord(params, record, s::SendInfoTexts); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackInfoText(OutdoorInfoTexts* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record, [](OutdoorInfoTexts& r) {
      s::UnPackInfoTexts(r);
      return 1;
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnSplitInfoText(const char* text, char* line1, char* line2) {
  return f::Guarded<int32_t>(0, [&] {
    if (text == nullptr || line1 == nullptr || line2 == nullptr) return 0;
    return s::SplitInfoText(text, line1, line2) ? 1 : 0;
  });
}

// ---- season totals and test results -------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadSeasonTotals(CommParams* params,
                                                           OutdoorSeasonTotals* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::ReadSeasonTotals); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ResetSeasonTotals(CommParams* params,
                                                            OutdoorSeasonTotals* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::ClearSeasonTotals); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackSeasonTotals(OutdoorSeasonTotals* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record, [](OutdoorSeasonTotals& r) {
      s::UnPackSeasonTotals(r);
      return 1;
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadTestResults(CommParams* params,
                                                          OutdoorTestResults* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::ReadTestResults); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ResetTestResults(CommParams* params,
                                                           OutdoorTestResults* record) {
  return f::Guarded<int32_t>(
      0, [&] { return WithParamsAndRecord(params, record, s::ClearTestResults); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackTestResults(OutdoorTestResults* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithRecord(record, [](OutdoorTestResults& r) {
      s::UnPackTestResults(r);
      return 1;
    });
  });
}

// ---- logo ---------------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackBitmap(int32_t* columns) {
  return f::Guarded<int32_t>(0, [&] { return s::UnPackOutdoorLogo(columns); });
}

}  // extern "C"

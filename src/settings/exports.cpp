// Exported entry points of the settings layer: argument conversion and the exception guard only.
#include "quibra/quibra.h"

#include <cstdint>
#include <cstring>

#include "codec/charset.h"
#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "settings/caller_record.h"
#include "settings/exercise_limits.h"
#include "settings/exercise_profile.h"
#include "settings/exercise_set.h"
#include "settings/name_fix.h"
#include "settings/user_settings.h"
#include "settings/watch_settings.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CheckOrvekCharString(const char* text) {
  return f::Guarded<int32_t>(0, [&] { return int32_t{quibra::codec::CheckCharString(text, 0)}; });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CheckOrvekCharStringEx(const char* text, int32_t table) {
  return f::Guarded<int32_t>(0,
                             [&] { return int32_t{quibra::codec::CheckCharString(text, table)}; });
}

QUIBRA_API intptr_t QUIBRA_CALL fnQuibra_fnCutStringToFitPixelsPreview(char* text, int32_t start,
                                                                       int32_t count,
                                                                       int32_t max_pixels,
                                                                       int32_t table) {
  return f::Guarded<intptr_t>(0, [&]() -> intptr_t {
    if (text == nullptr) return 0;
    if (!quibra::codec::CutStringToFitPixelsPreview(text, start, count, max_pixels, table)) {
      return static_cast<intptr_t>(std::strlen(text));
    }
    return reinterpret_cast<intptr_t>(text);
  });
}

// ---- user settings ------------------------------------------------------------------------
// Every record goes through WithCallerRecord, which keeps to the caller's Size.

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareUserSettings(UserSettings* record, int32_t,
                                                            int32_t nameFix) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(
        record, [&](UserSettings& r) { return s::PrepareUserSettings(r, nameFix != 0) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendUserSettings(CommParams* params, UserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](UserSettings& r) { return s::SendUserSettings(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadUserSettings(CommParams* params, UserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](UserSettings& r) { return s::ReadUserSettings(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackUserSettings(int32_t linkType, UserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record,
                               [&](UserSettings& r) { return s::UnPackUserSettings(linkType, r); });
  });
}

QUIBRA_API UserSettings* QUIBRA_CALL fnQuibra_ResetUserSettings(UserSettings* record) {
  return f::Guarded<UserSettings*>(nullptr, [&] {
    const int32_t done = s::WithCallerRecord(record, [](UserSettings& r) {
      s::ResetUserSettings(r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_K55Tm3NameUpdFix(int32_t linkType, const char* name) {
  return f::Guarded<int32_t>(0, [&] { return s::K55Tm3NameUpdFix(linkType, name); });
}

// ---- watch settings -----------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareWatchSettings(WatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record,
                               [](WatchSettings& r) { return s::PrepareWatchSettings(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendWatchSettings(CommParams* params,
                                                          WatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](WatchSettings& r) { return s::SendWatchSettings(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadWatchSettings(CommParams* params,
                                                          WatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](WatchSettings& r) { return s::ReadWatchSettings(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackWatchSettings(WatchSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record, [](WatchSettings& r) {
      s::UnPackWatchSettings(r);
      return 1;
    });
  });
}

QUIBRA_API WatchSettings* QUIBRA_CALL fnQuibra_ResetWatchSettings(WatchSettings* record) {
  return f::Guarded<WatchSettings*>(nullptr, [&] {
    const int32_t done = s::WithCallerRecord(record, [](WatchSettings& r) {
      s::ResetWatchSettings(r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

// ---- exercise profiles and limits ---------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareExerciseProfile(ExerciseProfile* record, int32_t,
                                                               int32_t) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(
        record, [](ExerciseProfile& r) { return s::PrepareExerciseProfile(r) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendExerciseProfile(CommParams* params,
                                                            ExerciseProfile* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](ExerciseProfile& r) { return s::SendExerciseProfile(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExerciseProfile(CommParams* params, int32_t number,
                                                            ExerciseProfile* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(
          record, [&](ExerciseProfile& r) { return s::ReadExerciseProfile(cp, number, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackExerciseProfile(int32_t number,
                                                              ExerciseProfile* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record, [&](ExerciseProfile& r) {
      s::UnPackExerciseProfile(number, r);
      return 1;
    });
  });
}

QUIBRA_API ExerciseProfile* QUIBRA_CALL fnQuibra_ResetExerciseProfile(int32_t number,
                                                                      ExerciseProfile* record,
                                                                      int32_t) {
  return f::Guarded<ExerciseProfile*>(nullptr, [&] {
    const int32_t done = s::WithCallerRecord(record, [&](ExerciseProfile& r) {
      s::ResetExerciseProfile(number, r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareExerciseLimits(ExerciseLimits* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record, [](ExerciseLimits& r) {
      s::PrepareExerciseLimits(r);
      return 1;
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendExerciseLimits(CommParams* params,
                                                           ExerciseLimits* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(record,
                                 [&](ExerciseLimits& r) { return s::SendExerciseLimits(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackExerciseLimits(ExerciseLimits* record) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record, [](ExerciseLimits& r) {
      s::UnPackExerciseLimits(r);
      return 1;
    });
  });
}

QUIBRA_API ExerciseLimits* QUIBRA_CALL fnQuibra_ResetExerciseLimits(ExerciseLimits* record) {
  return f::Guarded<ExerciseLimits*>(nullptr, [&] {
    const int32_t done = s::WithCallerRecord(record, [](ExerciseLimits& r) {
      s::ResetExerciseLimits(r);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

// ---- exercise sets ------------------------------------------------------------------------

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareExerciseSet(ExerciseSet* record, int32_t,
                                                           int32_t lenient, int32_t variant) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(record, [&](ExerciseSet& r) {
      return s::PrepareExerciseSet(r, lenient != 0, variant) ? 1 : 0;
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendExerciseSet(CommParams* params, ExerciseSet* record,
                                                        int32_t variant) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(
          record, [&](ExerciseSet& r) { return s::SendExerciseSet(cp, r, variant); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExerciseSet(CommParams* params, int32_t number,
                                                        ExerciseSet* record, int32_t variant) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::WithCallerRecord(
          record, [&](ExerciseSet& r) { return s::ReadExerciseSet(cp, number, r, variant); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackExerciseSet(int32_t number, ExerciseSet* record,
                                                          int32_t variant) {
  return f::Guarded<int32_t>(0, [&] {
    return s::WithCallerRecord(
        record, [&](ExerciseSet& r) { return s::UnPackExerciseSet(number, r, variant) ? 1 : 0; });
  });
}

QUIBRA_API ExerciseSet* QUIBRA_CALL fnQuibra_ResetExerciseSet(int32_t number, ExerciseSet* record,
                                                              int32_t, int32_t monitorType) {
  return f::Guarded<ExerciseSet*>(nullptr, [&] {
    const int32_t done = s::WithCallerRecord(record, [&](ExerciseSet& r) {
      s::ResetExerciseSet(number, r, monitorType);
      return 1;
    });
    return done != 0 ? record : nullptr;
  });
}

}  // extern "C"

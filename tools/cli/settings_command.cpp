// quibra settings get|set: a settings group of an older or an outdoor unit as JSON, read from
// the unit or changed on it (or written as the upload sound to a wave file).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "change_on_unit.h"
#include "commands.h"
#include "destination.h"
#include "failure.h"
#include "identify.h"
#include "library_session.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "record_fields.h"
#include "stop_control.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

template <typename Record>
Record* As(void* record) {
  return static_cast<Record*>(record);
}

// A group's read or send call when the export takes only the parameters and the record.
template <typename Record, int32_t (*Export)(CommParams*, Record*)>
int32_t ByRecord(CommParams* params, int32_t, int32_t, void* record) {
  return Export(params, As<Record>(record));
}

// A group's reset when the export takes only the record.
template <typename Record, auto Export>
void ResetByRecord(void* record, int32_t) {
  Export(As<Record>(record));
}

// One settings group: its name on the command line, its record (by field table), how many
// numbered instances it has (the N of "profile N"; 0 for a group of one), and its reset, read
// and send calls. The calls take the number (1..count) and the exercise-set layout, which the
// groups that have none ignore.
struct Group {
  const char* name;
  const RecordInfo* record;
  int32_t count;
  void (*reset)(void* record, int32_t number);
  int32_t (*read)(CommParams* params, int32_t number, int32_t variant, void* record);  // or null
  int32_t (*send)(CommParams* params, int32_t number, int32_t variant, void* record);
};

constexpr Group kGroups[] = {
    {"user", &kUserSettingsRecord, 0, ResetByRecord<UserSettings, fnQuibra_ResetUserSettings>,
     ByRecord<UserSettings, fnQuibra_ReadUserSettings>,
     ByRecord<UserSettings, fnQuibra_SendUserSettings>},
    {"watch", &kWatchSettingsRecord, 0, ResetByRecord<WatchSettings, fnQuibra_ResetWatchSettings>,
     ByRecord<WatchSettings, fnQuibra_ReadWatchSettings>,
     ByRecord<WatchSettings, fnQuibra_SendWatchSettings>},
    {"profile", &kExerciseProfileRecord, 7,
     [](void* r, int32_t n) { fnQuibra_ResetExerciseProfile(n, As<ExerciseProfile>(r), 0); },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       return fnQuibra_ReadExerciseProfile(c, n, As<ExerciseProfile>(r));
     },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       As<ExerciseProfile>(r)->ProfileNumber = n;
       return fnQuibra_SendExerciseProfile(c, As<ExerciseProfile>(r));
     }},
    // The unit cannot be asked for its limits: they go by sound only.
    {"limits", &kExerciseLimitsRecord, 0,
     ResetByRecord<ExerciseLimits, fnQuibra_ResetExerciseLimits>, nullptr,
     ByRecord<ExerciseLimits, fnQuibra_SendExerciseLimits>},
    {"set", &kExerciseSetRecord, 5,
     [](void* r, int32_t n) { fnQuibra_ResetExerciseSet(n, As<ExerciseSet>(r), 0, 0); },
     [](CommParams* c, int32_t n, int32_t v, void* r) {
       return fnQuibra_ReadExerciseSet(c, n, As<ExerciseSet>(r), v);
     },
     [](CommParams* c, int32_t n, int32_t v, void* r) {
       As<ExerciseSet>(r)->SetNumber = n;
       return fnQuibra_SendExerciseSet(c, As<ExerciseSet>(r), v);
     }},
    // ---- the fitness units: written only; the J9 unit (type 27) also gives its user data.
    {"fitness-user", &kFitnessUserSettingsRecord, 0,
     ResetByRecord<FitnessUserSettings, fnQuibra_QF_ResetUserSettings>,
     ByRecord<FitnessUserSettings, fnQuibra_ReadJ9UserSettings>,
     ByRecord<FitnessUserSettings, fnQuibra_QF_SendUserSettings>},
    {"fitness-limits", &kFitnessExerciseSettingsRecord, 0,
     ResetByRecord<FitnessExerciseSettings, fnQuibra_QF_ResetExerciseSettings>, nullptr,
     ByRecord<FitnessExerciseSettings, fnQuibra_QF_SendExerciseSettings>},
    {"fitness-options", &kFitnessMonitorSettingsRecord, 0,
     [](void* r, int32_t) {
       *As<FitnessMonitorSettings>(r) = FitnessMonitorSettings{};
       As<FitnessMonitorSettings>(r)->Size = sizeof(FitnessMonitorSettings);
     },
     nullptr, ByRecord<FitnessMonitorSettings, fnQuibra_QF_SendMonitorSettings>},
};

// The groups of the running and cycling units and of the older cycling-capable units: they go
// over infrared only, and the unit is identified first (the library needs to know where its
// areas lie); a name may have one record per unit type. The calls take the identified type.
struct UnitGroup {
  Group group;
  bool (*for_type)(int32_t type);
};

constexpr bool IsNewerType(int32_t t) {
  return t >= 33 && t <= 38;
}

constexpr UnitGroup kUnitGroups[] = {
    {{"totals", &kTotalsPRVCRecord, 0,
      [](void* r, int32_t type) {
        *As<TotalsPRVC>(r) = TotalsPRVC{};
        As<TotalsPRVC>(r)->MonitorType = type;
      },
      ByRecord<TotalsPRVC, fnQuibra_ReadTotals_PRVC>,
      ByRecord<TotalsPRVC, fnQuibra_WriteTotals_PRVC>},
     IsNewerType},
    {{"odometer", &kOdometerSettingsRecord, 0,
      [](void* r, int32_t type) {
        *As<OdometerSettings>(r) = OdometerSettings{sizeof(OdometerSettings), 0, 0, 0};
        As<OdometerSettings>(r)->MonitorType = type;
      },
      ByRecord<OdometerSettings, fnQuibra_ReadOdometer>,
      ByRecord<OdometerSettings, fnQuibra_WriteOdometer>},
     [](int32_t t) { return t == 12 || t == 22 || t == 23; }},
    {{"displays", &kDisplaysPR9WRecord, 0,
      [](void* r, int32_t) { *As<DisplaysPR9W>(r) = DisplaysPR9W{}; },
      [](CommParams* c, int32_t, int32_t, void* r) {
        return fnQuibra_ReadDisplays_PR9W(c, As<DisplaysPR9W>(r), 0);
      },
      [](CommParams* c, int32_t, int32_t, void* r) {
        return fnQuibra_WriteDisplays_PR9W(c, As<DisplaysPR9W>(r), 0);
      }},
     [](int32_t t) { return t == 38; }},
    {{"displays", &kDisplaysOtherRecord, 0,
      [](void* r, int32_t) { *As<DisplaysOther>(r) = DisplaysOther{}; },
      ByRecord<DisplaysOther, fnQuibra_ReadDisplays_Other_VC8Z>,
      ByRecord<DisplaysOther, fnQuibra_WriteDisplays_Other_VC8Z>},
     [](int32_t t) { return t >= 33 && t <= 37; }},
};

// ---- the training settings of the running and cycling units ---------------------------------
// The unit's type picks the record as for the groups above. The targets go together as one
// object, {"Daily": ..., "Weekly": ...}; the targets and the sport zones of a type 30 unit can
// only be sent (set --from-defaults), as the units give them back to no export.
struct TrainingTargets {
  PrvcDailyTargets Daily;
  PrvcWeeklyTargets Weekly;
};
constexpr RecordField kTrainingTargetsFields[] = {
    {"Daily", offsetof(TrainingTargets, Daily), FieldKind::Record, 1, &kPrvcDailyTargetsRecord,
     sizeof(PrvcDailyTargets)},
    {"Weekly", offsetof(TrainingTargets, Weekly), FieldKind::Record, 1, &kPrvcWeeklyTargetsRecord,
     sizeof(PrvcWeeklyTargets)},
};
constexpr RecordInfo kTrainingTargetsRecord = {"TrainingTargets", sizeof(TrainingTargets),
                                               kTrainingTargetsFields,
                                               std::size(kTrainingTargetsFields)};

int32_t SendTrainingTargets(CommParams* c, int32_t, int32_t, void* r) {
  TrainingTargets* t = As<TrainingTargets>(r);
  t->Daily.UnitType = t->Weekly.UnitType = c->MonitorType;
  return fnQuibra_PRVC_SendDailyTargets(c, &t->Daily) == 1 &&
                 fnQuibra_PRVC_SendWeeklyTargets(c, &t->Weekly) == 1
             ? 1
             : 0;
}

constexpr UnitGroup kTrainingGroups[] = {
    {{"monitor", &kPrvcMonitorSettingsRecord, 0,
      [](void* r, int32_t type) {
        *As<PrvcMonitorSettings>(r) = PrvcMonitorSettings{};
        As<PrvcMonitorSettings>(r)->Size = sizeof(PrvcMonitorSettings);
        As<PrvcMonitorSettings>(r)->UnitType = type;
      },
      ByRecord<PrvcMonitorSettings, fnQuibra_ReadMonitorSettings_PRVC>,
      [](CommParams* c, int32_t, int32_t, void* r) {
        As<PrvcMonitorSettings>(r)->UnitType = c->MonitorType;
        return fnQuibra_SendMonitorSettings_PRVC(c, As<PrvcMonitorSettings>(r));
      }},
     IsNewerType},
    {{"exercise", &kPrvcExerciseSettingsRecord, 0,
      [](void* r, int32_t type) {
        *As<PrvcExerciseSettings>(r) = PrvcExerciseSettings{};
        As<PrvcExerciseSettings>(r)->Size = sizeof(PrvcExerciseSettings);
        As<PrvcExerciseSettings>(r)->UnitType = type;
      },
      ByRecord<PrvcExerciseSettings, fnQuibra_PRVC_ReadExerciseSettings>,
      [](CommParams* c, int32_t, int32_t, void* r) {
        As<PrvcExerciseSettings>(r)->UnitType = c->MonitorType;
        return fnQuibra_PRVC_SendExerciseSettings(c, As<PrvcExerciseSettings>(r));
      }},
     IsNewerType},
    {{"targets", &kTrainingTargetsRecord, 0,
      [](void* r, int32_t) {
        *As<TrainingTargets>(r) = TrainingTargets{};
        As<TrainingTargets>(r)->Daily.Size = sizeof(PrvcDailyTargets);
        As<TrainingTargets>(r)->Weekly.Size = sizeof(PrvcWeeklyTargets);
      },
      nullptr, SendTrainingTargets},
     IsNewerType},
    {{"zones", &kPR3SportZonesRecord, 0,
      [](void* r, int32_t type) {
        // The zones of a fresh unit: 50..100 percent in steps of 10.
        *As<PR3SportZones>(r) =
            PR3SportZones{sizeof(PR3SportZones), type, {50, 60, 70, 80, 90}, {60, 70, 80, 90, 100}};
      },
      nullptr,
      [](CommParams* c, int32_t, int32_t, void* r) {
        As<PR3SportZones>(r)->UnitType = c->MonitorType;
        return fnQuibra_PRVC_SendPR3SportZones(c, As<PR3SportZones>(r));
      }},
     [](int32_t t) { return t == 30; }},
};

// Every table of groups whose record the identified unit's type picks.
constexpr std::span<const UnitGroup> kUnitGroupTables[] = {kUnitGroups, kTrainingGroups};

bool IsUnitGroup(const std::string& name) {
  for (const auto& table : kUnitGroupTables)
    for (const UnitGroup& u : table) {
      if (name == u.group.name) return true;
    }
  return false;
}

// The first group of that name (one line of the help for all its records).
const Group* FindFirstUnitGroup(const std::string& name) {
  for (const auto& table : kUnitGroupTables)
    for (const UnitGroup& u : table) {
      if (name == u.group.name) return &u.group;
    }
  return nullptr;
}

// The group of that name that the identified unit keeps, if any.
const Group* FindUnitGroup(const std::string& name, int32_t type) {
  for (const auto& table : kUnitGroupTables)
    for (const UnitGroup& u : table) {
      if (name == u.group.name && u.for_type(type)) return &u.group;
    }
  return nullptr;
}

// ---- the outdoor units (types 19..21) ------------------------------------------------------
// Their groups share two names (watch, user) with the older units': --type picks the table.
// Numbers on the command line count from 1; the library numbers reminders and route points
// from 0. The unit cannot be asked for its info text; a set of the season totals or the test
// results clears them on the unit (the one change it takes).

template <typename Record>
void Blank(void* record) {
  *As<Record>(record) = Record{};
  As<Record>(record)->Size = static_cast<int32_t>(sizeof(Record));
}

constexpr Group kOutdoorGroups[] = {
    {"watch", &kOutdoorWatchSettingsRecord, 0,
     ResetByRecord<OutdoorWatchSettings, fnQuibra_T_ResetWatchSettings>,
     ByRecord<OutdoorWatchSettings, fnQuibra_T_ReadWatchSettings>,
     ByRecord<OutdoorWatchSettings, fnQuibra_T_SendWatchSettings>},
    {"reminder", &kOutdoorReminderRecord, 5,
     [](void* r, int32_t n) { fnQuibra_T_ResetReminder(n - 1, As<OutdoorReminder>(r)); },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       return fnQuibra_T_ReadReminder(c, n - 1, As<OutdoorReminder>(r));
     },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       As<OutdoorReminder>(r)->ReminderNumber = n - 1;
       return fnQuibra_T_SendReminder(c, As<OutdoorReminder>(r));
     }},
    {"user", &kTrkUserSettingsRecord, 0,
     ResetByRecord<TrkUserSettings, fnQuibra_T_ResetUserSettings>,
     ByRecord<TrkUserSettings, fnQuibra_T_ReadUserSettings>,
     ByRecord<TrkUserSettings, fnQuibra_T_SendUserSettings>},
    {"calibration", &kOutdoorCalibPointRecord, 20,
     [](void* r, int32_t n) {
       Blank<OutdoorCalibPoint>(r);
       As<OutdoorCalibPoint>(r)->PointNumber = n - 1;
     },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       return fnQuibra_T_ReadAltCalibRoute(c, n - 1, As<OutdoorCalibPoint>(r));
     },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       As<OutdoorCalibPoint>(r)->PointNumber = n - 1;
       return fnQuibra_T_SendAltCalibRoute(c, As<OutdoorCalibPoint>(r));
     }},
    {"infotexts", &kOutdoorInfoTextsRecord, 0, [](void* r, int32_t) { Blank<OutdoorInfoTexts>(r); },
     nullptr, ByRecord<OutdoorInfoTexts, fnQuibra_T_SendInfoTexts>},
    {"season", &kOutdoorSeasonTotalsRecord, 0,
     [](void* r, int32_t) { Blank<OutdoorSeasonTotals>(r); },
     ByRecord<OutdoorSeasonTotals, fnQuibra_T_ReadSeasonTotals>,
     ByRecord<OutdoorSeasonTotals, fnQuibra_T_ResetSeasonTotals>},
    {"tests", &kOutdoorTestResultsRecord, 0, [](void* r, int32_t) { Blank<OutdoorTestResults>(r); },
     ByRecord<OutdoorTestResults, fnQuibra_T_ReadTestResults>,
     ByRecord<OutdoorTestResults, fnQuibra_T_ResetTestResults>},
};

constexpr bool IsOutdoorType(int32_t type) {
  return type >= 19 && type <= 21;
}

// ---- end of the outdoor units' groups ------------------------------------------------------

// ---- the older running and cycling units (types 28..32) ------------------------------------
// They take their watch settings in a message of their own, over infrared or by sound, and
// cannot be asked for them: --type names the unit (and so the message), and a set starts from
// the defaults.
constexpr Group kOlderPrvcGroups[] = {
    {"watch", &kPrvcWatchSettingsRecord, 0,
     [](void* r, int32_t) { *As<PrvcWatchSettings>(r) = PrvcWatchSettings{}; }, nullptr,
     [](CommParams* c, int32_t, int32_t, void* r) {
       As<PrvcWatchSettings>(r)->UnitType = c->MonitorType;
       return fnQuibra_PRVC_SendWatchSettings(c, As<PrvcWatchSettings>(r));
     }},
};

constexpr bool IsOlderPrvcType(int32_t type) {
  return type >= 28 && type <= 32;
}

// The types whose groups --type picks, so that the unit is not asked who it is.
constexpr bool TypePicksGroups(int32_t type) {
  return IsOutdoorType(type) || IsOlderPrvcType(type);
}

const Group* FindGroup(const std::string& name, int32_t type) {
  if (TypePicksGroups(type)) {
    for (const Group& g : IsOutdoorType(type) ? std::span<const Group>(kOutdoorGroups)
                                              : std::span<const Group>(kOlderPrvcGroups)) {
      if (name == g.name) return &g;
    }
    return nullptr;
  }
  for (const Group& g : kGroups) {
    if (name == g.name) return &g;
  }
  return nullptr;
}

// ---- the running and cycling units (types 33..38) ------------------------------------------
// They keep user settings, watch settings and reminders in their memory, in records of their
// own. A transfer over a port identifies the unit first; for these units a group of this table
// stands in for the older units' group of the same name. The library has no defaults for these
// records: a change from the defaults starts from a record its checks complete.
constexpr int32_t kFirstPrvcType = 33;
constexpr int32_t kLastPrvcType = 38;

constexpr Group kPrvcGroups[] = {
    {"user", &kPrvcUserSettingsRecord, 0,
     [](void* r, int32_t) {
       *As<PrvcUserSettings>(r) = PrvcUserSettings{};
       As<PrvcUserSettings>(r)->BirthDate = 19700101;
     },
     ByRecord<PrvcUserSettings, fnQuibra_ReadUserSettings_PRVC>,
     [](CommParams* c, int32_t, int32_t, void* r) {
       As<PrvcUserSettings>(r)->UnitType = c->MonitorType;
       return fnQuibra_SendUserSettings_PRVC(c, As<PrvcUserSettings>(r));
     }},
    {"watch", &kPrvcWatchSettingsRecord, 0,
     [](void* r, int32_t) { *As<PrvcWatchSettings>(r) = PrvcWatchSettings{}; },
     ByRecord<PrvcWatchSettings, fnQuibra_PRVC_ReadWatchSettings>,
     ByRecord<PrvcWatchSettings, fnQuibra_PRVC_SendWatchSettings>},
    {"reminders", &kPrvcReminderListRecord, 0,
     [](void* r, int32_t) { *As<PrvcReminderList>(r) = PrvcReminderList{}; },
     ByRecord<PrvcReminderList, fnQuibra_PRVC_ReadReminders>,
     [](CommParams* c, int32_t, int32_t, void* r) {
       As<PrvcReminderList>(r)->UnitType = c->MonitorType;
       return fnQuibra_PRVC_SendReminders(c, As<PrvcReminderList>(r));
     }},
    // Bikes and shoes: each model's pair of exports, chosen by the identified unit's type (the
    // library refuses a type the pair does not serve).
    {"bikes", &kPrvcBikeSettingsRecord, 0,
     [](void* r, int32_t) { *As<PrvcBikeSettings>(r) = PrvcBikeSettings{}; },
     [](CommParams* c, int32_t, int32_t, void* r) {
       auto* bikes = As<PrvcBikeSettings>(r);
       if (c->MonitorType == 38) return fnQuibra_ReadBikeSettingsPR9W(c, bikes);
       if (c->MonitorType == 34) return fnQuibra_ReadBikesGeneral_VC8Z(c, bikes);
       return fnQuibra_PRVC_ReadBikeSettings(c, bikes);
     },
     [](CommParams* c, int32_t, int32_t, void* r) {
       auto* bikes = As<PrvcBikeSettings>(r);
       if (c->MonitorType == 38) return fnQuibra_SendBikesSettingsPR9W(c, bikes);
       if (c->MonitorType == 34) return fnQuibra_WriteBikesGeneral_VC8Z(c, bikes);
       return fnQuibra_SendBikesSettings_PRVC_eq(c, bikes);
     }},
    {"shoes", &kPrvcShoeSettingsRecord, 0,
     [](void* r, int32_t) { *As<PrvcShoeSettings>(r) = PrvcShoeSettings{}; },
     [](CommParams* c, int32_t, int32_t, void* r) {
       auto* shoes = As<PrvcShoeSettings>(r);
       if (c->MonitorType == 38) return fnQuibra_ReadShoesSettingsPR9W(c, shoes);
       return fnQuibra_ReadShoesSettings(c, shoes);
     },
     [](CommParams* c, int32_t, int32_t, void* r) {
       auto* shoes = As<PrvcShoeSettings>(r);
       if (c->MonitorType == 38) return fnQuibra_SendShoeSettingsPR9W(c, shoes);
       return fnQuibra_SendShoeSettings(c, shoes);
     }},
};

const Group* FindPrvcGroup(const std::string& name) {
  for (const Group& g : kPrvcGroups) {
    if (name == g.name) return &g;
  }
  return nullptr;
}

// The group for the unit on the open link: identified first when the group has a form for the
// running and cycling units. Nothing (and why on stderr) when no unit answers or the group is
// one those units alone keep.
std::optional<const Group*> GroupForUnit(const std::string& name, const Group* older, int32_t type,
                                         CommParams& params) {
  const Group* prvc = TypePicksGroups(type) ? nullptr : FindPrvcGroup(name);
  if (prvc == nullptr) return older;
  const auto unit = AskIdentity();
  // Some older units cannot be asked who they are: their group of the name is tried then.
  if (!unit) return older != nullptr ? std::optional<const Group*>(older) : std::nullopt;
  if (unit->type >= kFirstPrvcType && unit->type <= kLastPrvcType) {
    params.MonitorType = unit->type;
    return prvc;
  }
  if (older == nullptr) {
    std::fprintf(stderr, "quibra: the %s are kept by the running and cycling units only\n",
                 prvc->record->name);
    return std::nullopt;
  }
  return older;
}

// Two fields that hold one value in two units: the library takes `kept` when it is nonzero and
// derives `derived` from it, else the other way round. When the user changes `derived` alone
// (the weight in kg, the height in feet and inches), `kept` is cleared so that the change wins
// and the other form is derived from it, not the old value of the other form.
struct OneValue {
  const RecordInfo* record;
  const char* derived[2];
  const char* kept;
};
constexpr OneValue kOneValues[] = {
    {&kUserSettingsRecord, {"WeightKg", nullptr}, "WeightLb"},
    {&kUserSettingsRecord, {"HeightFeet", "HeightInches"}, "HeightCm"},
    {&kFitnessUserSettingsRecord, {"WeightKg", nullptr}, "WeightLb"},
    {&kFitnessUserSettingsRecord, {"HeightFeet", "HeightInches"}, "HeightCm"},
    {&kTrkUserSettingsRecord, {"WeightKg", nullptr}, "WeightLb"},
    {&kTrkUserSettingsRecord, {"HeightFeet", "HeightInches"}, "HeightCm"},
    {&kTrkUserSettingsRecord, {"AltitudeM1", nullptr}, "AltitudeFt1"},
    {&kTrkUserSettingsRecord, {"AltitudeM2", nullptr}, "AltitudeFt2"},
    {&kOutdoorCalibPointRecord, {"AltitudeM", nullptr}, "AltitudeFt"},
    {&kPrvcUserSettingsRecord, {"WeightKg", nullptr}, "WeightLb"},
    {&kPrvcUserSettingsRecord, {"HeightFeet", "HeightInches"}, "HeightCm"},
};

void LetTheChangeWin(const RecordInfo& info, const json& asked, void* record) {
  for (const OneValue& v : kOneValues) {
    if (v.record != &info || asked.contains(v.kept)) continue;
    const bool changed =
        asked.contains(v.derived[0]) || (v.derived[1] != nullptr && asked.contains(v.derived[1]));
    if (changed) RecordFromJson(info, json{{v.kept, 0}}, record);
  }
}

// Tells of every value the library stored otherwise than asked (out of range, cut short).
void ReportCorrections(const json& asked, const json& stored, const std::string& name) {
  if (asked.is_object() && stored.is_object()) {
    for (const auto& [key, value] : asked.items()) {
      if (stored.contains(key))
        ReportCorrections(value, stored[key], name.empty() ? key : name + "." + key);
    }
  } else if (asked.is_array() && stored.is_array()) {
    for (size_t i = 0; i < asked.size() && i < stored.size(); ++i)
      ReportCorrections(asked[i], stored[i], name + "[" + std::to_string(i) + "]");
  } else if (asked != stored) {
    std::fprintf(stderr, "quibra: %s %s was stored as %s\n", name.c_str(), asked.dump().c_str(),
                 stored.dump().c_str());
  }
}

struct Options {
  bool write = false;
  std::string group_name;
  const Group* group = nullptr;
  int32_t number = 0;
  Destination to;
  int32_t variant = 0;  // exercise-set layout
  int32_t type = 0;     // the unit's monitor type, where it picks the groups
  bool from_defaults = false;
};

// The JSON object of the changes on standard input; nothing (and why on stderr) when it is not
// JSON.
std::optional<json> ReadChanges() {
  const std::string input((std::istreambuf_iterator<char>(std::cin)),
                          std::istreambuf_iterator<char>());
  json object = json::parse(input, nullptr, false);
  if (object.is_discarded()) {
    std::fprintf(stderr, "quibra: the input is not JSON\n");
    return std::nullopt;
  }
  return object;
}

// Whether the changes fit the group's record (else, when asked, why on stderr).
bool ChangesFit(const Group* group, const json& changes, bool report) {
  if (group == nullptr) return false;
  const RecordInfo& info = *group->record;
  std::vector<uint64_t> scratch((info.size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  if (const std::string error = RecordFromJson(info, changes, scratch.data()); !error.empty()) {
    if (report) std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return false;
  }
  return true;
}

// A group of kUnitGroups: the unit is identified, its type picks the record and goes into the
// parameters, then the group moves as every other does.
int TransferOnUnit(const Options& o) {
  std::optional<json> changes;
  if (o.write && !(changes = ReadChanges())) return kExitUsage;
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.to.port, o.to.link)) return kExitFailure;
  const std::optional<UnitIdentity> unit = AskIdentity();
  const Group* g = unit ? FindUnitGroup(o.group_name, unit->type) : nullptr;
  if (g == nullptr || (o.write && !ChangesFit(g, *changes, true))) {
    fnQuibra_EndIRCommunication(0);
    if (unit && g == nullptr) {
      std::fprintf(stderr, "quibra: %s (monitor type %d) keeps no %s\n", unit->name.c_str(),
                   unit->type, o.group_name.c_str());
    }
    return unit && g != nullptr ? kExitUsage : kExitFailure;
  }
  const RecordInfo& info = *g->record;
  std::vector<uint64_t> storage((info.size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  void* record = storage.data();
  g->reset(record, unit->type);
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  params.MonitorType = unit->type;
  const UnitChange change{o.write, o.from_defaults,
                          [&](CommParams* p) { return g->read(p, 0, 0, record); },
                          [&] { RecordFromJson(info, *changes, record); },
                          [&](CommParams* p) { return g->send(p, 0, 0, record); }};
  if (!ChangeOnUnit(params, change, info.name)) return kExitFailure;
  if (o.write) {
    ReportCorrections(*changes, RecordToJson(info, record), "");
  } else {
    std::printf("%s\n", RecordToJson(info, record).dump(2).c_str());
  }
  return 0;
}

int Transfer(const Options& o) {
  std::optional<json> changes;
  if (o.write && !(changes = ReadChanges())) return kExitUsage;
  // Changes that fit no form of the group are refused before the unit is reached.
  const Group* prvc =
      o.to.sound_file.empty() && !TypePicksGroups(o.type) ? FindPrvcGroup(o.group_name) : nullptr;
  if (changes && !ChangesFit(o.group, *changes, false) && !ChangesFit(prvc, *changes, false)) {
    ChangesFit(o.group != nullptr ? o.group : prvc, *changes, true);
    return kExitUsage;
  }
  LibrarySession library;
  TerminalView view;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (IsOlderPrvcType(o.type)) params.MonitorType = o.type;
  const Group* chosen = o.group;
  if (o.to.sound_file.empty()) {
    if (!OpenLink(o.to.port, o.to.link)) return kExitFailure;
    const std::optional<const Group*> found = GroupForUnit(o.group_name, o.group, o.type, params);
    if (!found) {
      fnQuibra_EndIRCommunication(0);
      return kExitFailure;
    }
    chosen = *found;
    if (changes && !ChangesFit(chosen, *changes, true)) {
      fnQuibra_EndIRCommunication(0);
      return kExitUsage;
    }
  }
  const Group& g = *chosen;
  const RecordInfo& info = *g.record;
  // Room for the record, aligned for its 32-bit fields.
  std::vector<uint64_t> storage((info.size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  void* record = storage.data();
  g.reset(record, o.number);
  if (!o.to.sound_file.empty()) {
    // The library writes the sound under a temporary name, renamed when it is complete.
    OutputFile sound(o.to.sound_file);
    Destination partial = o.to;
    partial.sound_file = sound.partial();
    if (!SoundFileParams(partial, params)) {
      std::fprintf(stderr, "quibra: the file name %s is too long\n", o.to.sound_file.c_str());
      return kExitUsage;
    }
    if (IsOlderPrvcType(o.type)) params.MonitorType = o.type;
    RecordFromJson(info, *changes, record);
    LetTheChangeWin(info, *changes, record);
    if (g.send(&params, o.number, o.variant, record) != 1) {
      std::fprintf(stderr, "quibra: the %s were refused%s\n", info.name,
                   LibraryErrorCause().c_str());
      return kExitFailure;
    }
    std::string error;
    if (StopRequested()) return kExitFailure;
    if (!sound.Commit(true, error)) {
      std::fprintf(stderr, "quibra: %s\n", error.c_str());
      return kExitFailure;
    }
    ReportCorrections(*changes, RecordToJson(info, record), "");
    std::printf("%s\n", o.to.sound_file.c_str());
    return 0;
  }
  params.LinkType = 1;
  params.ShowDialog = 1;
  const UnitChange change{o.write, o.from_defaults,
                          [&](CommParams* p) { return g.read(p, o.number, o.variant, record); },
                          [&] {
                            RecordFromJson(info, *changes, record);
                            LetTheChangeWin(info, *changes, record);
                          },
                          [&](CommParams* p) { return g.send(p, o.number, o.variant, record); }};
  if (!ChangeOnUnit(params, change, info.name)) return kExitFailure;
  if (o.write) {
    ReportCorrections(*changes, RecordToJson(info, record), "");
  } else {
    std::printf("%s\n", RecordToJson(info, record).dump(2).c_str());
  }
  return 0;
}

template <size_t N>
std::string GroupsText(const Group (&table)[N]) {
  std::string groups;
  for (const Group& g : table) {
    if (!groups.empty()) groups += ", ";
    groups += g.name;
    if (g.count > 0) groups += " N (1.." + std::to_string(g.count) + ")";
  }
  if (&table[0] != &kGroups[0]) return groups;
  for (const Group& g : kPrvcGroups) {
    if (FindGroup(g.name, 0) == nullptr) groups += std::string(", ") + g.name;
  }
  for (const auto& table : kUnitGroupTables)
    for (const UnitGroup& u : table) {
      if (&u.group != FindFirstUnitGroup(u.group.name)) continue;
      groups += ", " + std::string(u.group.name);
    }
  return groups +
         " (user, watch, reminders, bikes and shoes of a running or cycling unit: its "
         "own fields)";
}

void AddVerb(CLI::App* settings, bool write, CommandRun& run) {
  auto o = std::make_shared<Options>();
  o->write = write;
  CLI::App* sub = settings->add_subcommand(
      write ? "set" : "get",
      write ? "change the fields a JSON object on standard input names; the others keep the "
              "unit's values"
            : "print a settings group as JSON");
  std::vector<std::string> names;
  for (const Group& g : kGroups)
    names.emplace_back(g.name);
  for (const Group& g : kOutdoorGroups) {
    if (std::find(names.begin(), names.end(), g.name) == names.end()) names.emplace_back(g.name);
  }
  for (const Group& g : kPrvcGroups) {
    if (std::find(names.begin(), names.end(), g.name) == names.end()) names.emplace_back(g.name);
  }
  for (const auto& table : kUnitGroupTables)
    for (const UnitGroup& u : table) {
      if (std::find(names.begin(), names.end(), u.group.name) == names.end())
        names.emplace_back(u.group.name);
    }
  sub->add_option("group", o->group_name,
                  "the group: " + GroupsText(kGroups) +
                      "; of the outdoor units (--type 19..21): " + GroupsText(kOutdoorGroups) +
                      "; of the older running and cycling units (--type 28..32): " +
                      GroupsText(kOlderPrvcGroups))
      ->required()
      ->check(CLI::IsMember(names));
  sub->add_option("--type", o->type, "the unit's monitor type, where it has groups of its own")
      ->check(CLI::Range(0, 99));
  sub->add_option("number", o->number, "the number of a numbered group");
  AddDestinationOptions(sub, o->to, write);
  sub->add_option("--variant", o->variant, "the exercise-set layout")->check(CLI::Range(0, 1));
  if (write) {
    sub->add_flag("--from-defaults", o->from_defaults,
                  "start from the group's defaults instead of the unit's values");
  }
  sub->callback([o, &run] {
    if (IsUnitGroup(o->group_name)) {
      if (o->number != 0) UsageError(o->group_name + " takes no number");
      if (!o->to.sound_file.empty()) UsageError(o->group_name + " goes over infrared only");
      if (FindFirstUnitGroup(o->group_name)->read == nullptr && (!o->write || !o->from_defaults))
        UsageError("the unit cannot be asked for its " + o->group_name +
                   ": use set --from-defaults");
      CheckDestination(o->to, o->write);
      run = [o] { return TransferOnUnit(*o); };
      return;
    }
    // The outdoor units' groups go by --type. Otherwise a group only the running and cycling
    // units keep goes by their record until the unit is known.
    o->group = FindGroup(o->group_name, o->type);
    const Group* prvc = TypePicksGroups(o->type) ? nullptr : FindPrvcGroup(o->group_name);
    if (o->group == nullptr && prvc == nullptr)
      UsageError(o->group_name + " is not a group of monitor type " + std::to_string(o->type));
    const Group& g = o->group != nullptr ? *o->group : *prvc;
    if (o->group == nullptr && !o->to.sound_file.empty())
      UsageError(std::string("the ") + g.record->name + " cannot go by sound");
    if (g.count > 0 && (o->number < 1 || o->number > g.count))
      UsageError(std::string(g.name) + " needs a number 1.." + std::to_string(g.count));
    if (g.count == 0 && o->number != 0) UsageError(std::string(g.name) + " takes no number");
    CheckDestination(o->to, o->write);
    if (g.read == nullptr && (!o->write || !o->from_defaults)) {
      UsageError(std::string("the unit cannot be asked for its ") + g.record->name +
                 (o->write ? ": add --from-defaults" : ""));
    }
    if (o->write && !o->to.sound_file.empty() && !o->from_defaults)
      UsageError("a sound cannot read the unit first: add --from-defaults");
    run = [o] { return Transfer(*o); };
  });
}

}  // namespace

void AddSettingsCommand(CLI::App& app, CommandRun& run) {
  CLI::App* settings =
      app.add_subcommand("settings", "read or change a settings group of a unit as JSON");
  settings->require_subcommand(1);
  AddVerb(settings, false, run);
  AddVerb(settings, true, run);
}

}  // namespace quibra::cli

#include "settings/caller_record.h"

#include "settings/bike_settings.h"
#include "settings/exercise_limits.h"
#include "settings/exercise_profile.h"
#include "settings/exercise_set.h"
#include "settings/user_settings.h"
#include "settings/watch_settings.h"

namespace quibra::settings {

namespace {
constexpr int32_t kFirstNumber = 1;
constexpr int32_t kOlderLayoutType = 0;
}  // namespace

void RecordDefaults(UserSettings& record) {
  ResetUserSettings(record);
}
void RecordDefaults(WatchSettings& record) {
  ResetWatchSettings(record);
}
void RecordDefaults(ExerciseProfile& record) {
  ResetExerciseProfile(kFirstNumber, record);
}
void RecordDefaults(ExerciseLimits& record) {
  ResetExerciseLimits(record);
}
void RecordDefaults(ExerciseSet& record) {
  ResetExerciseSet(kFirstNumber, record, kOlderLayoutType);
}
void RecordDefaults(BikeSettings& record) {
  ResetBikeSettings(record);
}

}  // namespace quibra::settings

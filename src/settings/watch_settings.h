// The watch settings of the older units: time of day, a second time of day, the date, the
// 12-hour display choices and the alarm, written with message 9001 and read with 9002.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kWatchSettingsSize = 36;

// Checks and completes the record (the PC's time and date for -1, the second time and the alarm
// cut to whole minutes), packs it into the 9001 image and seals it. false when a check fails,
// with error code 101 for a time and 102 for a date out of range; the image is then untouched.
bool PrepareWatchSettings(WatchSettings& record);

int32_t SendWatchSettings(CommParams& params, WatchSettings& record);
int32_t ReadWatchSettings(CommParams& params, WatchSettings& record);
void UnPackWatchSettings(WatchSettings& record);
void ResetWatchSettings(WatchSettings& record);

}  // namespace quibra::settings

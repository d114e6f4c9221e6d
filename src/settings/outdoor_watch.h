// The watch settings of the outdoor units: the clock with a second time of day, three alarms
// with a short text each and three option flags, written with message 9040 and read with 9041.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kOutdoorWatchSize = 76;

// Checks and completes the record (the PC's time and date for -1, the second time and the
// alarms cut to whole minutes, the alarm texts in capitals), packs it into the 9040 image and
// seals it. false when a check fails, with error code 101 for a time and 102 for a date out of
// range; the image is then untouched.
bool PrepareOutdoorWatch(OutdoorWatchSettings& record);

int32_t SendOutdoorWatch(CommParams& params, OutdoorWatchSettings& record);
int32_t ReadOutdoorWatch(CommParams& params, OutdoorWatchSettings& record);
void UnPackOutdoorWatch(OutdoorWatchSettings& record);
void ResetOutdoorWatch(OutdoorWatchSettings& record);

}  // namespace quibra::settings

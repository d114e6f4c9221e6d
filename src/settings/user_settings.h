// The user settings of the older units: birth date, level, heart-rate and fitness values,
// weight, height, name and option bits, written with message 9005 and read with 9006.
#pragma once

#include <cstdint>
#include <optional>

#include "exercise/analysis.h"
#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kUserSettingsSize = 136;

// Checks and completes the record in place, packs it into the 9005 image and seals it. false
// when a check fails: the image is then untouched, the record keeps the changes made so far.
// With name_fix and BcdValueOn, the first two name bytes carry the two BCD value bytes.
bool PrepareUserSettings(UserSettings& record, bool name_fix);

int32_t SendUserSettings(CommParams& params, UserSettings& record);
int32_t ReadUserSettings(CommParams& params, UserSettings& record);

// Fills the record from the 9006 image; returns 1. Over infrared, a unit of type 22 in hardware
// variant 3 keeps the record as it is (unless IrDA sockets are in use).
int32_t UnPackUserSettings(int32_t link_type, UserSettings& record);

void ResetUserSettings(UserSettings& record);

// The maximum heart rate a unit of type 22 or 23 keeps, read silently over infrared; 0 for any
// other type or when the read fails.
int32_t ReadUnitMaxHR(int32_t monitor_type);
// The maximum heart rate and the weight that the unit last detected keeps (types 22 and 23),
// telling a failed read (nothing) from a kept 0: the exercise decoders keep their user values
// when the read fails.
std::optional<exercise::UserValues> ReadDetectedUnitUserValues();

// The unit last detected is a type 22 in hardware variant 3, which needs the name fix.
bool UnitNeedsNameFix();

}  // namespace quibra::settings

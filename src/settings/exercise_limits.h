// The exercise limits of the older units: an upper and a lower heart rate and an on/off flag,
// in message 9037. The units take them by sound only; they are never sent over infrared.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kLimitsSize = 16;

// Completes the record (the checks never fail), packs it into the 9037 image and seals it.
void PrepareExerciseLimits(ExerciseLimits& record);
// Over infrared: 1 without a transfer. Otherwise by sound or through the data file.
int32_t SendExerciseLimits(CommParams& params, ExerciseLimits& record);
// Fills the record from the image as the data file left it (one byte later than packed).
void UnPackExerciseLimits(ExerciseLimits& record);
void ResetExerciseLimits(ExerciseLimits& record);

}  // namespace quibra::settings

// The seven exercise profiles of the older units, each a name and six phases of heart-rate
// limits and timings, written with message 9017 and read with 9018, the profile number being
// the message parameter.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kProfileSize = 340;
inline constexpr int32_t kProfileCount = 7;

// Checks and completes the record, packs it into the 9017 image of its profile number and seals
// it; on IrDA sockets it also marks the profile's batch rows. false when a check fails (the image
// is then untouched; defaults applied before the failing check stay in the record).
bool PrepareExerciseProfile(ExerciseProfile& record);

int32_t SendExerciseProfile(CommParams& params, ExerciseProfile& record);
// 0 without a transfer for a number outside 1..7.
int32_t ReadExerciseProfile(CommParams& params, int32_t number, ExerciseProfile& record);
void UnPackExerciseProfile(int32_t number, ExerciseProfile& record);
void ResetExerciseProfile(int32_t number, ExerciseProfile& record);

}  // namespace quibra::settings

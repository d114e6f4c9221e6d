// The five exercise sets of the older units: a name, three timers, three heart-rate limit
// pairs, a repeated phase and a recovery phase that end by time, heart rate or distance. Two
// layouts: variant 0 in messages 9003 (write) and 9004 (read), variant 1 in 9068 and 9069 with
// further fields and four time windows. The set number is the message parameter.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kExerciseSetSize = 216;
inline constexpr int32_t kExerciseSetCount = 5;

// Checks and completes the record, packs it into the write image of the variant for its set
// number and seals it. Lenient: a timer or level out of range takes its default instead of
// failing. false for a failing check (the image is then untouched) or a variant other than 0
// or 1.
bool PrepareExerciseSet(ExerciseSet& record, bool lenient, int32_t variant);

// Send with LenientChecks of the parameters as the lenient flag.
int32_t SendExerciseSet(CommParams& params, ExerciseSet& record, int32_t variant);
// 0 without a transfer for a set number outside 1..5 or a variant other than 0 or 1.
int32_t ReadExerciseSet(CommParams& params, int32_t number, ExerciseSet& record, int32_t variant);
// Fills the record from the variant's image of the set; false for a variant other than 0 or 1.
bool UnPackExerciseSet(int32_t number, ExerciseSet& record, int32_t variant);
void ResetExerciseSet(int32_t number, ExerciseSet& record, int32_t monitor_type);

}  // namespace quibra::settings

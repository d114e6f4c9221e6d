// The decoder of the K-series units (monitor types 11, 12, 13, 15, 22, 23): BCD header with
// limits as heart rates, percentages or times; laps with optional sensor groups and extended
// bytes; samples with speed, altitude, cadence, power or R-R deltas, read backwards.
#pragma once

#include <cstdint>

#include "exercise/exercise_locator.h"
#include "exercise/record_store.h"

namespace quibra::exercise {

// Fills the (already reset) store with exercise `index` of the image. 1 on success, also when
// the store refused part of it; 0 when the exercise cannot be located.
int32_t DecodeKSeriesExercise(const MemoryReader& memory, ExerciseStore& store,
                              int32_t monitor_type, int32_t index, ImageMode mode);

}  // namespace quibra::exercise

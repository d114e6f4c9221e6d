// The decoder of the outdoor units (monitor types 20 and 21): header, 22-byte laps with limit
// swaps, and 3-byte samples of heart rate with altitude or air pressure, read backwards.
#pragma once

#include <cstdint>

#include "exercise/exercise_locator.h"
#include "exercise/record_store.h"

namespace quibra::exercise {

// Fills the (already reset) store with exercise `index` of the image. 1 on success, also when
// the store refused part of it; 0 when the exercise cannot be located.
int32_t DecodeOutdoorExercise(const MemoryReader& memory, ExerciseStore& store,
                              int32_t monitor_type, int32_t index, ImageMode mode);

}  // namespace quibra::exercise

// The exercise files of the running and cycling units of monitor types 33, 35, 36 and 37: a
// fixed header, the summary groups of the model, the paged data area with the samples and R-R
// intervals, and the laps at the end of the file.
#pragma once

#include <cstdint>

#include "exercise/exercise_locator.h"
#include "exercise/record_store.h"

namespace quibra::exercise {

// How an R-R capable exercise is decoded: as recorded, or (the analysis mode 2) as an R-R
// recording only, its other sensors left out.
enum class RrDecoding : uint8_t { kAsRecorded, kRrOnly };

// Fills the (already reset) store from the file image. 1 on success; 0 for an index other
// than 0 (an image holds one file) or a file cut short before the end of its data pages.
int32_t DecodeFileExerciseA(const MemoryReader& memory, ExerciseStore& store, int32_t monitor_type,
                            int32_t index, RrDecoding rr);

}  // namespace quibra::exercise

// The exercise files of the running and cycling units of monitor types 34 and 38 (layout B):
// the plan of types 33..37 (fixed header, summary, paged data, laps at the end of the file) with
// a summary and lap records of fixed shape. The layout is laid out in prvc_file_decoder_b.cpp.
#pragma once

#include <cstdint>

#include "exercise/exercise_locator.h"
#include "exercise/prvc_file_decoder_a.h"
#include "exercise/record_store.h"

namespace quibra::exercise {

// Fills the (already reset) store from the file image. 1 on success; 0 for an index other than
// 0, an interval code the units do not write, or a file cut short before the end of its pages.
int32_t DecodeFileExerciseB(const MemoryReader& memory, ExerciseStore& store, int32_t monitor_type,
                            int32_t index, RrDecoding rr);

}  // namespace quibra::exercise

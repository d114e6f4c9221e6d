// Decoders of the units whose images hold finished exercise summaries without samples:
// monitor type 30 (one exercise per image), 31 (several exercises, 12-byte laps) and 32
// (37-byte exercise records).
#pragma once

#include <cstdint>

#include "exercise/exercise_locator.h"
#include "exercise/record_store.h"

namespace quibra::exercise {

int32_t DecodeType30Exercise(const MemoryReader& memory, ExerciseStore& store, int32_t monitor_type,
                             int32_t index, ImageMode mode);
int32_t DecodeType31Exercise(const MemoryReader& memory, ExerciseStore& store, int32_t monitor_type,
                             int32_t index, ImageMode mode);
int32_t DecodeType32Exercise(const MemoryReader& memory, ExerciseStore& store, int32_t monitor_type,
                             int32_t index, ImageMode mode);

}  // namespace quibra::exercise

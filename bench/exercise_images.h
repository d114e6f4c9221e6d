// The exercise images the benchmarks decode, built with the simulator's encoders: a whole
// memory of a K-series unit (all sensor channels, extended laps), one of an outdoor unit, and an
// exercise file of a type 38 unit as large as the memory takes.
#pragma once

#include <cstdint>

#include "sim/encoders/image_layout.h"

namespace quibra::bench {

// Exercises in each whole-memory image.
inline constexpr int32_t kExercises = 8;

sim::Bytes FullKSeriesMemory();
sim::Bytes FullOutdoorMemory();
sim::Bytes FullType38File();

}  // namespace quibra::bench

// Puts a whole exercise memory image into the library's exercise memory as a download leaves it
// (positions from 1, the count set), for tests and benchmarks that decode what an encoder laid
// out without a transfer in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "frame/module.h"

namespace quibra::testing {

// False when the image is larger than the memory takes.
inline bool LoadExerciseImage(std::span<const uint8_t> image) {
  auto& memory = module().exercise_memory;
  memory.allocate();
  for (size_t i = 0; i < image.size(); ++i) {
    if (!memory.store(static_cast<int32_t>(i + 1), image[i])) return false;
  }
  return memory.set_count(static_cast<int32_t>(image.size()));
}

}  // namespace quibra::testing

// How many exercises a unit holds and how many bytes of its memory they take: what its
// identification reports, worked out from the exercise memory or the files it would send, so
// that the counts a unit gives agree with what a download then brings.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quibra::sim {

struct MemoryUse {
  int32_t files = 0;
  uint32_t used = 0;  // bytes
};

// From the exercise memory a unit of the type sends in one train, in the type's layout: the
// chain of length-prefixed exercises of the K-series and outdoor units, the fixed summaries of
// types 30 (one exercise), 31 (the count in the high nibble of position 8) and 32 (37-byte
// records from position 359). Any other type's memory counts as one exercise when it holds more
// than the four bytes in front.
MemoryUse MemoryUseOfImage(int32_t type, std::span<const uint8_t> image);

// From the files a newer unit sends one at a time: each file one exercise.
MemoryUse MemoryUseOfFiles(const std::vector<std::vector<uint8_t>>& files);

}  // namespace quibra::sim

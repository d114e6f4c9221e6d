// The paged data area of the running and cycling units' exercise files: a directory of page
// counts per kind, then pages of 256 bytes, each a kind byte and 255 data bytes. The data of one
// kind is the concatenation of its pages' payloads in file order, cut to what the last page
// uses. Decoders read it from buffers of their own, so a record never straddles a page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "exercise/exercise_locator.h"

namespace quibra::exercise {

inline constexpr int32_t kPageKinds = 3;  // 0 samples, 1 extra data, 2 R-R data
inline constexpr int32_t kPageKindSamples = 0;
inline constexpr int32_t kPageKindExtra = 1;
inline constexpr int32_t kPageKindRr = 2;
inline constexpr int32_t kPageBytes = 256;
inline constexpr int32_t kPagePayload = 255;
inline constexpr int32_t kPageDirectoryBytes = 9;

struct PagedData {
  std::array<std::vector<uint8_t>, kPageKinds> data;
  int32_t end = 0;  // the position after the last page
};

// Reads the directory at `directory` and the pages after it. Empty when the pages the directory
// counts do not all lie before `limit` (the first position that is not theirs): such a file was
// cut short or is not an exercise file, and decoding part of it would give a wrong exercise.
std::optional<PagedData> ReadPagedData(const MemoryReader& memory, int32_t directory,
                                       int32_t limit);

// The laps close the file and are read backwards from `end` (the position after its last byte):
// calls `store(at)` with the position of each of `count` laps of `size` bytes. A lap count that
// reaches into the data pages names records that are not laps, which are left out.
template <typename Store>
void ForEachLap(const PagedData& pages, int32_t end, int32_t size, int32_t count, Store&& store) {
  for (int32_t i = 1; i <= count; ++i) {
    const int32_t at = end - i * size;
    if (at < pages.end) return;
    store(at);
  }
}

}  // namespace quibra::exercise

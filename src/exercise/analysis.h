// Decoding one exercise of the downloaded exercise memory into the record store: the choice of
// decoder by monitor type, and what an analysis remembers between calls (the unit version and
// the 50-byte note of a whole-memory image).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace quibra::exercise {

inline constexpr int32_t kNoteLength = 50;

struct AnalysisState {
  std::atomic<int32_t> unit_version{0};
  std::array<char, kNoteLength> note{};  // bytes as the unit stored them, not terminated
};

// A single-exercise image names its unit: the product code at byte 3 (mapped to the monitor
// type) and the unit version at byte 4. Refreshes both, unless the current unit is one of the
// file-based types 32..38, whose images say nothing about the unit there.
void RefreshUnitFromSingleImage();

// Decodes exercise `index` (mode 0: single-exercise image, 1: whole-memory image) into the
// record store. 1 on success; 0 for a type without a decoder or an exercise that is not there.
int32_t AnalyzeFile(int32_t index, int32_t mode);

}  // namespace quibra::exercise

// Every monitor type the library knows, for the targets whose input picks the unit that answers:
// the sound-download units, the K series, the outdoor units, the fitness units and the newer
// running and cycling units of both identification layouts.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::fuzz {

inline constexpr std::array<int32_t, 27> kUnitTypes = {6,  9,  10, 11, 12, 13, 15, 19, 20,
                                                       21, 22, 23, 24, 25, 26, 27, 29, 30,
                                                       31, 32, 33, 34, 35, 36, 37, 38, 40};

inline int32_t UnitTypeOf(uint8_t selector) {
  return kUnitTypes[selector % kUnitTypes.size()];
}

inline uint8_t UnitTypeIndex(int32_t type) {
  for (size_t i = 0; i < kUnitTypes.size(); ++i) {
    if (kUnitTypes[i] == type) return static_cast<uint8_t>(i);
  }
  return 0;
}

}  // namespace quibra::fuzz

// Small readers for the packed fields the single-model exercise images share.
#pragma once

#include <cstdint>

#include "exercise/exercise_locator.h"
#include "frame/bcd.h"

namespace quibra::exercise {

// Three BCD bytes seconds, minutes, hours (bits 0..6) -> 1/10 s.
inline int32_t BcdTimeTriple(const MemoryReader& m, int32_t at) {
  return (frame::BcdToBin(m.byte(at + 2) & 0x7F) * 3600 + frame::BcdToBin(m.byte(at + 1)) * 60 +
          frame::BcdToBin(m.byte(at))) *
         10;
}

// Seconds and minutes in bits 0..5 with the tenths split over their bits 6..7 (low, high), and
// binary hours in bits 0..6 -> 1/10 s.
inline int32_t PackedLapTime(const MemoryReader& m, int32_t at) {
  const int32_t b0 = m.byte(at);
  const int32_t b1 = m.byte(at + 1);
  return (m.byte(at + 2) & 0x7F) * 36000 + (b1 & 63) * 600 + (b0 & 63) * 10 + (b0 >> 6) +
         (b1 >> 6) * 4;
}

// A computed value truncated toward zero and held within the 32-bit range.
inline int32_t TruncateToInt32(double value) {
  if (!(value > -2147483648.0)) return INT32_MIN;  // also NaN
  if (value >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace quibra::exercise

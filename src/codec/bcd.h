// Packed binary-coded decimal, as the units store dates and times.
#pragma once

#include <cstdint>

namespace quibra::codec {

// (value AND 15) + (value shifted right by 4) * 10.
constexpr int32_t BcdToBin(int32_t value) {
  return static_cast<int32_t>((static_cast<uint32_t>(value) & 15u) +
                              (static_cast<uint32_t>(value >> 4)) * 10u);
}

// (value / 10) shifted left by 4, plus value mod 10; no range check.
constexpr int32_t BinToBcd(int32_t value) {
  return static_cast<int32_t>((static_cast<uint32_t>(value / 10) << 4) +
                              static_cast<uint32_t>(value % 10));
}

}  // namespace quibra::codec

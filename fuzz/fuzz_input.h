// The input format of the analysis fuzz target, shared with the seed writer: byte 0 picks the
// unit from kFuzzUnits, byte 1 bit 0 the image kind (whole memory when the unit has a product
// code) and bits 1..3 the exercise index; the rest is the exercise memory from position 1.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::fuzz {

struct FuzzUnit {
  int32_t monitor_type;
  uint8_t product_code;  // 0: the unit has none; only single-exercise images are tried
};

inline constexpr std::array<FuzzUnit, 14> kFuzzUnits = {{{6, 0},
                                                         {9, 0},
                                                         {10, 0},
                                                         {11, 17},
                                                         {12, 34},
                                                         {13, 51},
                                                         {15, 68},
                                                         {20, 85},
                                                         {21, 102},
                                                         {22, 19},
                                                         {23, 37},
                                                         {30, 30},
                                                         {31, 31},
                                                         {32, 32}}};

}  // namespace quibra::fuzz

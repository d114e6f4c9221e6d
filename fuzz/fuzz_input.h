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
  bool by_sound;         // its exercises come by sound: the sound analysis is its decoder
};

// Every decoder family: the sound-download units (6, 9, 10), the K series, the outdoor units,
// the single-model units 30..32 and the file-based units 33..38.
inline constexpr std::array<FuzzUnit, 20> kFuzzUnits = {
    {{6, 0, true},     {9, 0, true},     {10, 0, true},    {11, 17, false},  {12, 34, false},
     {13, 51, false},  {15, 68, false},  {20, 85, false},  {21, 102, false}, {22, 19, false},
     {23, 37, false},  {30, 30, false},  {31, 31, false},  {32, 32, false},  {33, 164, false},
     {34, 167, false}, {35, 166, false}, {36, 172, false}, {37, 173, false}, {38, 174, false}}};

}  // namespace quibra::fuzz

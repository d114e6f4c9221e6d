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
// the single-model units 30..32, and the newer running and cycling units (33..38), whose files
// are decoded one at a time (single images).
inline constexpr std::array<FuzzUnit, 20> kFuzzUnits = {{
    {6, 0, true},      // sound download
    {9, 0, true},      // sound download
    {10, 0, true},     // sound download
    {11, 17, false},   // K series
    {12, 34, false},   // K series
    {13, 51, false},   // K series
    {15, 68, false},   // K series
    {20, 85, false},   // outdoor
    {21, 102, false},  // outdoor
    {22, 19, false},   // K series
    {23, 37, false},   // K series
    {30, 30, false},   // single model
    {31, 31, false},   // single model
    {32, 32, false},   // single model
    {33, 164, false},  // file based, group A
    {34, 167, false},  // file based, group B
    {35, 166, false},  // file based, group A
    {36, 172, false},  // file based, group A
    {37, 173, false},  // file based, group A
    {38, 174, false}   // file based, group B
}};

}  // namespace quibra::fuzz

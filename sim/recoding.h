// The serial infrared adapter recodes every byte the PC writes (when the library asks for it);
// a simulated unit sees the recoded bytes and has to undo the recoding to read a request.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::sim {

// The adapter's recoding R: a running parity over the inverted bits, most significant first
// out, inverted again. R(0x00) = 0x55, R(0xFF) = 0x00, R(0xA3) = 0x34.
constexpr uint8_t Recode(uint8_t b) {
  uint8_t x = static_cast<uint8_t>(~b);
  uint8_t s = 0x80;
  uint8_t out = 0;
  for (int i = 0; i < 8; ++i) {
    if (x & 1) s ^= 0x80;
    out = static_cast<uint8_t>((out >> 1) | s);
    x = static_cast<uint8_t>(x >> 1);
  }
  return static_cast<uint8_t>(~out);
}

// The inverse table, built once at compile time. R is a bijection (checked below), so every
// byte on the wire decodes to exactly one byte the PC meant.
inline constexpr std::array<uint8_t, 256> kUnrecode = [] {
  std::array<uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[Recode(static_cast<uint8_t>(b))] = static_cast<uint8_t>(b);
  return table;
}();

constexpr bool RecodingIsBijective() {
  for (int b = 0; b < 256; ++b) {
    if (kUnrecode[Recode(static_cast<uint8_t>(b))] != b) return false;
  }
  return true;
}
static_assert(RecodingIsBijective(), "the adapter's recoding must be reversible");

constexpr uint8_t Unrecode(uint8_t wire) {
  return kUnrecode[wire];
}

}  // namespace quibra::sim

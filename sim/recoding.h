// The serial infrared adapter recodes every byte the PC writes (when the library asks for it);
// a simulated unit sees the recoded bytes and has to undo the recoding to read a request.
#pragma once

#include <array>
#include <cstdint>

#include "protocol/serial_recoding.h"

namespace quibra::sim {

// The adapter's recoding R is the library's own; the unit only needs its inverse.
constexpr uint8_t Recode(uint8_t b) {
  return protocol::RecodeSerialByte(b);
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

// The serial adapter's byte recoding: with recoding on, every byte of a request is replaced by
// its recoded value before it is written. Answers from the unit arrive plain.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::protocol {

// The recoding of one byte: walk the inverted byte from bit 0 up, toggling a running level at
// every 1 bit and shifting that level in from the top; the result is the inverted walk.
constexpr uint8_t RecodeSerialByte(uint8_t b) {
  uint8_t x = static_cast<uint8_t>(~b);
  uint8_t level = 0x80;
  uint8_t out = 0;
  for (int i = 0; i < 8; ++i) {
    if ((x & 1u) != 0) level ^= 0x80;
    out = static_cast<uint8_t>((out >> 1) | level);
    x = static_cast<uint8_t>(x >> 1);
  }
  return static_cast<uint8_t>(~out);
}

// All 256 recoded values, so the send path only looks bytes up.
inline constexpr std::array<uint8_t, 256> kSerialRecoding = [] {
  std::array<uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = RecodeSerialByte(static_cast<uint8_t>(b));
  return table;
}();

}  // namespace quibra::protocol

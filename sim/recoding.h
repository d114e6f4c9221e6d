// The serial infrared adapter can recode every byte the PC writes; a unit behind such an adapter
// hears the recoded bytes and undoes the recoding to read a request.
//
// The adapter's recoding, seen bit by bit: bit i of the recoded byte is the XOR of the inverted
// bits 0..i of the original, a running parity from the lowest bit up. So R(0x00) = 0x55 and
// R(0xFF) = 0x00. The unit undoes it by XORing every bit with the one below it, which gives the
// inverted bits back.
#pragma once

#include <cstdint>

namespace quibra::sim {

// What the adapter puts on the line for the byte b.
constexpr uint8_t Recode(uint8_t b) {
  auto x = static_cast<uint8_t>(~b);
  x ^= static_cast<uint8_t>(x << 1);  // the running XOR of bits 0..i, in three doubling steps
  x ^= static_cast<uint8_t>(x << 2);
  x ^= static_cast<uint8_t>(x << 4);
  return x;
}

// The byte the PC meant, from what the adapter put on the line.
constexpr uint8_t Unrecode(uint8_t wire) {
  return static_cast<uint8_t>(~(wire ^ static_cast<uint8_t>(wire << 1)));
}

constexpr bool RecodingRoundTrips() {
  for (int b = 0; b < 256; ++b) {
    if (Unrecode(Recode(static_cast<uint8_t>(b))) != b) return false;
  }
  return true;
}
static_assert(RecodingRoundTrips(), "the unit must read back every byte the adapter recodes");
static_assert(Recode(0x00) == 0x55 && Recode(0xFF) == 0x00 && Recode(0x01) == 0xAA &&
                  Recode(0x80) == 0xD5 && Recode(0xA3) == 0x34,
              "the adapter's recoding of its known bytes");

}  // namespace quibra::sim

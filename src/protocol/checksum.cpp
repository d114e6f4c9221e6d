#include "protocol/checksum.h"

#include <array>

namespace quibra::protocol {
namespace {

constexpr uint16_t kCrc16Generator = 0x8005;
constexpr uint8_t kCrc8Generator = 0x87;

// The bit-serial step shifts each message bit into bit 0 and folds in the generator when the
// bit shifted out was set. Eight such steps only ever fold the generator in according to the
// register's top byte, so the effect of a whole byte is "shift in the byte, XOR a table entry
// chosen by the old top byte"; the tables below are those entries.
constexpr std::array<uint16_t, 256> kCrc16Table = [] {
  std::array<uint16_t, 256> table{};
  for (unsigned top = 0; top < 256; ++top) {
    uint16_t reg = static_cast<uint16_t>(top << 8);
    for (int bit = 0; bit < 8; ++bit) {
      const bool out = (reg & 0x8000) != 0;
      reg = static_cast<uint16_t>(reg << 1);
      if (out) reg ^= kCrc16Generator;
    }
    table[top] = reg;
  }
  return table;
}();

constexpr std::array<uint8_t, 256> kCrc8Table = [] {
  std::array<uint8_t, 256> table{};
  for (unsigned top = 0; top < 256; ++top) {
    uint8_t reg = static_cast<uint8_t>(top);
    for (int bit = 0; bit < 8; ++bit) {
      const bool out = (reg & 0x80) != 0;
      reg = static_cast<uint8_t>(reg << 1);
      if (out) reg ^= kCrc8Generator;
    }
    table[top] = reg;
  }
  return table;
}();

}  // namespace

uint16_t Crc16Step(uint16_t reg, uint8_t byte) {
  return static_cast<uint16_t>(static_cast<uint16_t>(reg << 8 | byte) ^ kCrc16Table[reg >> 8]);
}

uint8_t Crc8Step(uint8_t reg, uint8_t byte) {
  return static_cast<uint8_t>(byte ^ kCrc8Table[reg]);
}

uint16_t Crc16Compute(const uint8_t* buffer, size_t length) {
  if (buffer == nullptr || length < 3) return 0;
  uint16_t reg = 0;
  for (size_t i = 0; i < length; ++i)
    reg = Crc16Step(reg, buffer[i]);
  return reg;
}

int32_t Crc16Check(const uint8_t* buffer, size_t length) {
  if (buffer == nullptr || length < 3) return 0;
  return Crc16Compute(buffer, length) == 0 ? 1 : 0;
}

int32_t OnlineFrameCheck(const uint8_t* buffer, size_t length) {
  if (buffer == nullptr || length < 2) return 0;
  uint8_t reg = 0;
  for (size_t i = 0; i < length; ++i)
    reg = Crc8Step(reg, buffer[i]);
  return reg == 0 ? 1 : 0;
}

}  // namespace quibra::protocol

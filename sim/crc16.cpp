#include "crc16.h"

namespace quibra::sim {
namespace {

constexpr uint16_t kGenerator = 0x8005;
constexpr uint16_t kTopBit = 0x8000;

}  // namespace

// Bit by bit, as the unit's firmware shifts it: slow, and deliberately unlike a table.
uint16_t Crc16(std::span<const uint8_t> bytes) {
  uint16_t reg = 0;
  for (const uint8_t byte : bytes) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool carry = (reg & kTopBit) != 0;
      reg = static_cast<uint16_t>(reg << 1 | ((byte >> bit) & 1));
      if (carry) reg ^= kGenerator;
    }
  }
  return reg;
}

bool Crc16Checks(std::span<const uint8_t> frame) {
  return frame.size() >= 3 && Crc16(frame) == 0;
}

void Crc16Seal(std::span<uint8_t> frame) {
  if (frame.size() < 2) return;
  frame[frame.size() - 2] = 0;
  frame[frame.size() - 1] = 0;
  const uint16_t crc = Crc16(frame);
  frame[frame.size() - 2] = static_cast<uint8_t>(crc >> 8);
  frame[frame.size() - 1] = static_cast<uint8_t>(crc & 0xFF);
}

}  // namespace quibra::sim

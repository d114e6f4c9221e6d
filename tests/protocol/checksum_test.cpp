#include "protocol/checksum.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quibra::protocol {
namespace {

// The bit-serial definition, one message bit at a time, as the reference for the table form.
uint16_t bit_serial_crc16(const std::vector<uint8_t>& bytes) {
  uint16_t reg = 0;
  for (uint8_t byte : bytes) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool out = (reg & 0x8000) != 0;
      reg = static_cast<uint16_t>((reg << 1) | ((byte >> bit) & 1));
      if (out) reg ^= 0x8005;
    }
  }
  return reg;
}

TEST(ChecksumTest, PublishedCheckValue) {
  // The published check value of this CRC (generator 0x8005, register 0, no reflection, no final
  // XOR) over "123456789" is 0xFEE8; in the augmented form the two zero checksum bytes follow.
  const uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0, 0};
  EXPECT_EQ(Crc16Compute(text, sizeof text), 0xFEE8);
  const uint8_t sealed[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0xFE, 0xE8};
  EXPECT_EQ(Crc16Check(sealed, sizeof sealed), 1);
}

TEST(ChecksumTest, ShortRangesAndZeros) {
  const uint8_t zeros[3] = {0, 0, 0};
  EXPECT_EQ(Crc16Compute(zeros, 3), 0);
  const uint8_t two[2] = {0xA3, 0x02};
  EXPECT_EQ(Crc16Compute(two, 2), 0);
  EXPECT_EQ(Crc16Check(zeros, 2), 0);
  EXPECT_EQ(Crc16Check(nullptr, 10), 0);
}

TEST(ChecksumTest, TableFormMatchesTheBitSerialDefinition) {
  std::mt19937 random(1234);
  for (size_t length = 3; length < 300; length += 7) {
    std::vector<uint8_t> bytes(length);
    for (auto& b : bytes)
      b = static_cast<uint8_t>(random());
    EXPECT_EQ(Crc16Compute(bytes.data(), bytes.size()), bit_serial_crc16(bytes)) << length;
    // Sealing: zero the last two bytes, store the register there, and the whole checks to 0.
    bytes[length - 2] = bytes[length - 1] = 0;
    const uint16_t crc = Crc16Compute(bytes.data(), bytes.size());
    bytes[length - 2] = static_cast<uint8_t>(crc >> 8);
    bytes[length - 1] = static_cast<uint8_t>(crc);
    EXPECT_EQ(Crc16Check(bytes.data(), bytes.size()), 1);
  }
}

TEST(ChecksumTest, OnlineFrameCrc8) {
  // Hand-worked: after 0x01 the register is 0x01; shifting it out through eight zero bits folds
  // in 0x87 once, so the byte that clears it is 0x87.
  const uint8_t frame[] = {0x01, 0x87};
  EXPECT_EQ(OnlineFrameCheck(frame, 2), 1);
  const uint8_t bad[] = {0x01, 0x86};
  EXPECT_EQ(OnlineFrameCheck(bad, 2), 0);
  EXPECT_EQ(OnlineFrameCheck(frame, 1), 0);
  // Any payload followed by its bit-serially computed register checks clean.
  const uint8_t payload[] = {0x5A, 0xC3, 0x10};
  uint8_t reg = 0;
  for (uint8_t byte : payload) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool out = (reg & 0x80) != 0;
      reg = static_cast<uint8_t>((reg << 1) | ((byte >> bit) & 1));
      if (out) reg ^= 0x87;
    }
  }
  for (int bit = 0; bit < 8; ++bit) {  // the augmentation byte
    const bool out = (reg & 0x80) != 0;
    reg = static_cast<uint8_t>(reg << 1);
    if (out) reg ^= 0x87;
  }
  const uint8_t sealed[] = {0x5A, 0xC3, 0x10, reg};
  EXPECT_EQ(OnlineFrameCheck(sealed, sizeof sealed), 1);
}

}  // namespace
}  // namespace quibra::protocol

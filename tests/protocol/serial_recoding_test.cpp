#include "protocol/serial_recoding.h"

#include <gtest/gtest.h>

namespace quibra::protocol {
namespace {

TEST(SerialRecoding, KnownBytes) {
  EXPECT_EQ(RecodeSerialByte(0x00), 0x55);
  EXPECT_EQ(RecodeSerialByte(0xFF), 0x00);
  EXPECT_EQ(RecodeSerialByte(0x01), 0xAA);
  EXPECT_EQ(RecodeSerialByte(0x80), 0xD5);
  EXPECT_EQ(RecodeSerialByte(0xA3), 0x34);
}

TEST(SerialRecoding, IsABijection) {
  // Every byte must stay distinguishable on the wire.
  bool seen[256] = {};
  for (int b = 0; b < 256; ++b) {
    EXPECT_FALSE(seen[kSerialRecoding[b]]) << b;
    seen[kSerialRecoding[b]] = true;
  }
}

}  // namespace
}  // namespace quibra::protocol

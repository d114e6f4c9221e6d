#include "recoding.h"

#include <gtest/gtest.h>

#include "sim_bytes.h"

namespace quibra::sim {
namespace {

TEST(Recoding, KnownBytesOfTheAdapter) {
  EXPECT_EQ(Recode(0x00), 0x55);
  EXPECT_EQ(Recode(0xFF), 0x00);
  EXPECT_EQ(Recode(0x01), 0xAA);
  EXPECT_EQ(Recode(0x80), 0xD5);
  EXPECT_EQ(Recode(0xA3), 0x34);
}

TEST(Recoding, RequestFrameAsWrittenAndUndone) {
  // The 9002 request and the bytes the adapter actually puts on the line.
  const testing::Bytes plain = {0xA3, 0x02, 0x00, 0x00, 0x05, 0x9B, 0x95};
  const testing::Bytes wire = {0x34, 0xAB, 0x55, 0x55, 0x56, 0xDC, 0x26};
  for (size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(Recode(plain[i]), wire[i]) << i;
    EXPECT_EQ(Unrecode(wire[i]), plain[i]) << i;
  }
}

}  // namespace
}  // namespace quibra::sim

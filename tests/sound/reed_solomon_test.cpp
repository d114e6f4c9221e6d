// The Reed-Solomon decoder of sound downloads: the field, the block layout (check bytes are the
// low coefficients, data bytes the high ones in reverse), and correction up to 16 bytes.
#include "sound/reed_solomon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "reed_solomon_encoder.h"

namespace quibra::sound {
namespace {

using Block = std::array<uint8_t, kRsBlockBytes>;

TEST(ReedSolomon, FieldTablesFollowThePolynomial) {
  const GaloisField& f = Gf256();
  EXPECT_EQ(f.antilog[0], 1);
  EXPECT_EQ(f.antilog[7], 0x80);
  EXPECT_EQ(f.antilog[8], 0x1D);  // x^8 = x^4 + x^3 + x^2 + 1
  EXPECT_EQ(f.antilog[18], 0x2D);
  EXPECT_EQ(f.antilog[255], 0);
  EXPECT_EQ(f.log[0], -1);
  EXPECT_EQ(f.log[0x1D], 8);
  EXPECT_EQ(f.multiply(0x80, 2), 0x1D);
  EXPECT_EQ(f.divide(0x1D, 0x80), 2);
}

// x^32 alone in the data (block byte 222) makes check bytes that are the generator's lower
// coefficients, x^0 at byte 223: g0 = alpha^(1 + 2 + ... + 32) = alpha^18 = 0x2D, and by hand
// g1 = 0xD8 and g31 = alpha^1 + ... + alpha^32 = 0xE8.
TEST(ReedSolomon, CheckBytesSitAfterTheDataInCoefficientOrder) {
  Block block{};
  block[222] = 1;
  sim::RsEncodeBlock(block.data());
  EXPECT_EQ(block[223], 0x2D);
  EXPECT_EQ(block[224], 0xD8);
  EXPECT_EQ(block[254], 0xE8);
  Block copy = block;
  EXPECT_EQ(RsDecode(copy.data()), 0);
  EXPECT_EQ(copy, block);
}

Block random_codeword(std::mt19937& random) {
  Block block{};
  for (int i = 0; i < kRsDataBytes; ++i)
    block[i] = static_cast<uint8_t>(random());
  sim::RsEncodeBlock(block.data());
  return block;
}

// Corrupts `count` distinct positions (data and check bytes alike) with nonzero errors.
Block corrupt(const Block& block, int count, std::mt19937& random) {
  Block bad = block;
  std::array<int, kRsBlockBytes> order;
  for (int i = 0; i < kRsBlockBytes; ++i)
    order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  for (int e = 0; e < count; ++e)
    bad[order[e]] ^= static_cast<uint8_t>(1 + random() % 255);
  return bad;
}

TEST(ReedSolomon, CorrectsUpToSixteenBytesAndRefusesSeventeen) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    const Block good = random_codeword(random);
    for (int errors : {1, 5, 16}) {
      Block bad = corrupt(good, errors, random);
      EXPECT_EQ(RsDecode(bad.data()), errors) << round;
      EXPECT_EQ(bad, good) << round << " " << errors;
    }
    const Block bad = corrupt(good, 17, random);
    Block kept = bad;
    EXPECT_EQ(RsDecode(kept.data()), -1) << round;
    EXPECT_EQ(kept, bad) << "an uncorrectable block is left as received";
  }
}

TEST(ReedSolomon, ErrorsAtBothEndsOfTheBlock) {
  std::mt19937 random(11);
  const Block good = random_codeword(random);
  Block bad = good;
  bad[0] ^= 0xFF;    // the highest coefficient
  bad[222] ^= 0x01;  // the lowest data coefficient
  bad[223] ^= 0x80;  // the lowest check coefficient
  bad[254] ^= 0x55;  // the highest check coefficient
  EXPECT_EQ(RsDecode(bad.data()), 4);
  EXPECT_EQ(bad, good);
}

}  // namespace
}  // namespace quibra::sound

// The packet assembler of sound downloads: the header check, plain blocks with their CRC,
// Reed-Solomon blocks with correction, the assembled buffer's layout and the progress figure.
#include "sound/packet_assembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "protocol/checksum.h"
#include "tonvox_signal.h"

namespace quibra::sound {
namespace {

using Bytes = std::vector<uint8_t>;

class PacketAssemblerTest : public ::testing::Test {
 protected:
  PacketAssemblerTest() { assembler.start(0x123, false); }
  // Feeds bytes in batches of at most `step`; the result of the last batch.
  int feed(const Bytes& bytes, size_t step = 7, bool ignore_errors = false) {
    int result = 1;
    for (size_t i = 0; i < bytes.size(); i += step) {
      ByteBatch batch;
      for (size_t j = i; j < std::min(bytes.size(), i + step); ++j)
        batch.append(bytes[j]);
      result = assembler.assemble(batch, ignore_errors);
      EXPECT_EQ(batch.count, 0u);
      if (!result) break;
    }
    return result;
  }
  Bytes assembled() const {
    return {assembler.assembled(), assembler.assembled() + assembler.assembled_count()};
  }
  PacketAssembler assembler;
};

// A header sealed with its CRC-16, high byte first.
Bytes header(uint8_t mode, uint8_t blocks, uint16_t length) {
  Bytes h = {
      0x55, 0x07, mode, blocks, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
      0,    0};
  const uint16_t crc = protocol::Crc16Compute(h.data(), h.size());
  h[6] = static_cast<uint8_t>(crc >> 8);
  h[7] = static_cast<uint8_t>(crc);
  return h;
}

TEST_F(PacketAssemblerTest, PlainBlocksAreCheckedAndKeptWithoutTheirCrc) {
  // Two blocks: 3 data bytes, then 1.
  const Bytes payload = {0x10, 0x20, 0x30, 0x40};
  const Bytes stream = sim::TonvoxBytes(payload, {.header_byte1 = 0x07, .block_data = 3});
  ASSERT_EQ(Bytes(stream.begin(), stream.begin() + 8), header(0, 2, 4));
  EXPECT_EQ(feed(stream), 1);
  EXPECT_EQ(assembler.expected_total(), 4u);
  // 55 07, the type's low byte, the mode, the length; then each block's index, count, length
  // and data.
  EXPECT_EQ(assembled(), (Bytes{0x55, 0x07, 0x23, 0x00, 0x04, 0x00,  //
                                0x00, 0x02, 0x03, 0x10, 0x20, 0x30,  //
                                0x01, 0x02, 0x01, 0x40}));
  // 4 data bytes and 5 for each of 2 blocks: 14 bytes received of 14.
  EXPECT_EQ(assembler.bytes_received(), 14u);
  EXPECT_EQ(assembler.progress(nullptr), 100u);

  // Bytes after the last block change nothing.
  EXPECT_EQ(feed(Bytes{1, 2, 3, 4, 5, 6, 7, 8}), 1);
  EXPECT_EQ(assembler.bytes_received(), 14u);
  EXPECT_EQ(assembled().size(), 16u);
}

TEST_F(PacketAssemblerTest, ABadHeaderOrBlockIsRefused) {
  Bytes h = header(0, 1, 3);
  h[7] ^= 1;
  EXPECT_EQ(feed(h), 0);
  EXPECT_FALSE(assembler.header_received());
  EXPECT_EQ(assembler.progress(nullptr), 0u);

  // A block with a flipped bit is refused, and the rest of its batch is dropped; with errors
  // ignored it is kept as received.
  Bytes stream = sim::TonvoxBytes({0xA1, 0xA2, 0xA3}, {});
  stream[12] ^= 0x40;  // a data byte
  for (bool ignore : {false, true}) {
    assembler.start(22, false);
    EXPECT_EQ(feed(stream, 100, ignore), ignore ? 1 : 0);
    EXPECT_EQ(assembled().size(), ignore ? 12u : 6u);
  }

  // More blocks than the store holds, and a length that cannot end inside a block.
  assembler.start(22, false);
  EXPECT_EQ(feed(header(0, 31, 100)), 0);
  assembler.start(22, false);
  Bytes long_block = header(0, 1, 251);
  long_block.insert(long_block.end(), {0, 1, 251});
  EXPECT_EQ(feed(long_block, 100, true), 0);
}

TEST_F(PacketAssemblerTest, ReedSolomonBlocksAreCorrected) {
  Bytes payload(300);
  for (size_t i = 0; i < payload.size(); ++i)
    payload[i] = static_cast<uint8_t>(i * 7);
  // Three blocks of 100 data bytes: 765 bytes expected.
  Bytes stream = sim::TonvoxBytes(payload, {.mode = 2, .block_data = 100});
  ASSERT_EQ(stream.size(), 8u + 3 * 255);
  for (int e = 0; e < 16; ++e)
    stream[8 + 255 + 3 * e] ^= 0x5A;  // 16 errors in block 1
  EXPECT_EQ(feed(Bytes(stream.begin(), stream.end() - 1)), 1);
  EXPECT_EQ(assembler.expected_total(), 765u);
  EXPECT_EQ(assembler.progress(nullptr), 99u);
  EXPECT_EQ(feed(Bytes{stream.back()}), 1);
  EXPECT_EQ(assembler.progress(nullptr), 100u);
  const Bytes got = assembled();
  ASSERT_EQ(got.size(), 6u + payload.size());
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 6), (Bytes{0x55, 0x01, 0x23, 0x02, 0x2C, 0x01}));
  EXPECT_EQ(Bytes(got.begin() + 6, got.end()), payload);
}

TEST_F(PacketAssemblerTest, AnUncorrectableBlockIsRefusedUnlessErrorsAreIgnored) {
  const Bytes payload(50, 0x33);
  Bytes stream = sim::TonvoxBytes(payload, {.mode = 2, .block_data = 50});
  for (int e = 0; e < 17; ++e)
    stream[8 + 10 + e] ^= 0xFF;
  EXPECT_EQ(feed(stream), 0);
  EXPECT_EQ(assembled().size(), 6u);

  assembler.start(22, false);
  EXPECT_EQ(feed(stream, 100, true), 1);
  const Bytes got = assembled();
  ASSERT_EQ(got.size(), 56u);
  EXPECT_EQ(got[6 + 7], 0x33 ^ 0xFF);  // kept as received

  // A length byte that reaches the check bytes is refused even then.
  Bytes too_long = sim::TonvoxBytes(Bytes(221, 1), {.mode = 2, .block_data = 221});
  assembler.start(22, false);
  EXPECT_EQ(feed(too_long, 100, true), 0);
}

}  // namespace
}  // namespace quibra::sound

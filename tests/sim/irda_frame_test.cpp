// The simulated IrDA line's link frames: the check sequence against its published check value,
// flags and escapes inside a block, and a frame that fails its check or stands among foreign
// bytes.
#include "irda_frame.h"

#include <gtest/gtest.h>

#include <string_view>

#include "sim_bytes.h"

namespace quibra::sim {
namespace {

using testing::Bytes;

std::vector<IrdaFrameReader::Frame> Read(IrdaFrameReader& reader, const Bytes& line) {
  std::vector<IrdaFrameReader::Frame> frames;
  for (const uint8_t byte : line) {
    if (auto frame = reader.feed(byte)) frames.push_back(std::move(*frame));
  }
  return frames;
}

TEST(IrdaFrame, CarriesEveryByteAndDropsWhatFailsItsCheck) {
  constexpr std::string_view kCheckInput = "123456789";  // CRC-16/X.25 gives 0x906E
  EXPECT_EQ(IrdaFcs(Bytes(kCheckInput.begin(), kCheckInput.end())), 0x906E);

  // Flags and the escape inside a block go escaped; the check (0xCA6F, worked out apart from
  // this code) low byte first.
  const Bytes block = {0x15, 0xC0, 0x7D, 0xC1, 0x00};
  const Bytes frame = EncodeIrdaFrame(block);
  EXPECT_EQ(frame, (Bytes{0xC0, 0x15, 0x7D, 0xE0, 0x7D, 0x5D, 0x7D, 0xE1, 0x00, 0x6F, 0xCA, 0xC1}));
  EXPECT_EQ(DecodeIrdaFrame(frame), block);
  EXPECT_EQ(DecodeIrdaFrame(EncodeIrdaFrame({})), Bytes{});

  Bytes flipped = frame;
  FlipBitInIrdaFrame(flipped);
  EXPECT_EQ(flipped.size(), frame.size());
  EXPECT_NE(flipped, frame);
  EXPECT_FALSE(DecodeIrdaFrame(flipped));

  // A serial request, a frame cut short by another one, then the frames: the reader hears the
  // whole frames only, and drops the bad one.
  IrdaFrameReader reader;
  Bytes line = testing::kRead9021;
  line.insert(line.end(), {0xC0, 0x15, 0x16});
  line.insert(line.end(), flipped.begin(), flipped.end());
  line.insert(line.end(), frame.begin(), frame.end());
  const auto frames = Read(reader, line);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_FALSE(frames[0].checks);
  EXPECT_TRUE(frames[1].checks);
  EXPECT_EQ(frames[1].block, block);
  EXPECT_EQ(reader.dropped(), 1);
}

}  // namespace
}  // namespace quibra::sim

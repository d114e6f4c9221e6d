#include "protocol/online_frames.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/checksum.h"

namespace quibra::protocol {
namespace {

std::vector<uint8_t> Frame(uint8_t sequence, uint16_t stamp) {
  const auto first = static_cast<uint8_t>(kBeatFrameMark | sequence);
  const auto low = static_cast<uint8_t>(stamp & 0xFF);
  const auto high = static_cast<uint8_t>(stamp >> 8);
  return {first, low, high, BeatFrameCheckByte(first, low, high)};
}

// Feeds the bytes and collects (interval, after_gap) of every beat.
std::vector<std::pair<int32_t, bool>> Feed(BeatFrameParser& parser,
                                           const std::vector<std::vector<uint8_t>>& chunks) {
  std::vector<std::pair<int32_t, bool>> beats;
  for (const auto& chunk : chunks) {
    for (uint8_t b : chunk) {
      if (const auto beat = parser.take(b)) beats.emplace_back(beat->interval_ms, beat->after_gap);
    }
  }
  return beats;
}

TEST(OnlineFrames, IntervalsFromTimeStampsTruncateAndWrap) {
  struct Case {
    uint16_t previous, current;
    int32_t ms;
  } const cases[] = {
      {0xFFF0, 0x0010, 31},  // 32 ticks across the wrap
      {0, 1024, 1000},
      {100, 920, 800},       // 820 ticks = 800.8 ms
      {0, 819, 799},
      {0x8000, 0x7FFF, 63999},  // one tick short of a whole turn
  };
  for (const Case& c : cases)
    EXPECT_EQ(BeatIntervalMs(c.previous, c.current), c.ms) << c.previous << " " << c.current;
}

TEST(OnlineFrames, CheckByteClosesTheFrame) {
  for (uint16_t stamp : {0, 0x1234, 0xFFFF}) {
    const auto f = Frame(7, stamp);
    EXPECT_EQ(OnlineFrameCheck(f.data(), f.size()), 1);
    auto bad = f;
    bad[3] ^= 0x40;
    EXPECT_EQ(OnlineFrameCheck(bad.data(), bad.size()), 0);
  }
}

TEST(OnlineFrames, FirstFrameOnlySetsTheReference) {
  BeatFrameParser parser;
  const auto beats = Feed(parser, {{0x00, 0x13}, Frame(0, 0xFFF0), Frame(1, 0x0010)});
  ASSERT_EQ(beats.size(), 1U);
  EXPECT_EQ(beats[0], std::make_pair(31, false));
  EXPECT_EQ(parser.check_failures(), 0);
  EXPECT_EQ(parser.sequence_gaps(), 0);
}

TEST(OnlineFrames, WrongCheckByteIsSkippedCountedAndTheNextFrameFound) {
  BeatFrameParser parser;
  auto bad = Frame(1, 1844);
  bad[3] ^= 0x01;
  const auto beats = Feed(parser, {Frame(0, 1024), bad, Frame(2, 2664), Frame(3, 3484)});
  // The frame after the bad one spans two beats: it is reported as such; the next is whole.
  ASSERT_EQ(beats.size(), 2U);
  EXPECT_TRUE(beats[0].second);
  EXPECT_EQ(beats[1], std::make_pair(800, false));
  EXPECT_EQ(parser.check_failures(), 1);
  EXPECT_EQ(parser.sequence_gaps(), 1);
}

TEST(OnlineFrames, ResynchronisesOnAMarkInsideAFailedFrame) {
  BeatFrameParser parser;
  // A noise byte that looks like a frame start, right before a real frame: the four bytes from
  // the noise fail, and the real frame is found from its mark 0x50 inside them.
  std::vector<uint8_t> line = {0x5A};
  const auto real = Frame(0, 2000);
  line.insert(line.end(), real.begin(), real.end());
  const auto beats = Feed(parser, {line, Frame(1, 2820)});
  ASSERT_EQ(beats.size(), 1U);
  EXPECT_EQ(beats[0], std::make_pair(800, false));
  EXPECT_EQ(parser.check_failures(), 1);
}

TEST(OnlineFrames, SequenceGapsAreCountedAcrossTheWrap) {
  struct Case {
    uint8_t previous, next;
    int gaps;
    bool after_gap;
  } const cases[] = {
      {3, 4, 0, false}, {3, 5, 1, true}, {15, 0, 0, false}, {15, 2, 1, true},
      {15, 1, 0, true},  // one lost across the wrap: not counted, but the interval is not whole
  };
  for (const Case& c : cases) {
    BeatFrameParser parser;
    const auto beats = Feed(parser, {Frame(c.previous, 0), Frame(c.next, 820)});
    ASSERT_EQ(beats.size(), 1U);
    EXPECT_EQ(parser.sequence_gaps(), c.gaps) << int(c.previous) << "->" << int(c.next);
    EXPECT_EQ(beats[0].second, c.after_gap) << int(c.previous) << "->" << int(c.next);
  }
}

}  // namespace
}  // namespace quibra::protocol

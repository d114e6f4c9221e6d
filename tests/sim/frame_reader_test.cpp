#include "frame_reader.h"

#include <gtest/gtest.h>

#include "recoding.h"
#include "sim_bytes.h"

namespace quibra::sim {
namespace {

using testing::Bytes;

// Feeds bytes and collects every request they complete.
std::vector<RawRequest> FeedAll(FrameReader& reader, const Bytes& wire) {
  std::vector<RawRequest> out;
  for (uint8_t b : wire) {
    if (auto request = reader.feed(b)) out.push_back(std::move(*request));
  }
  return out;
}

TEST(FrameReader, TakesPlainAndRecodedRequestsAndSkipsNoise) {
  FrameReader reader;
  Bytes wire = {0x00, 0x5C, 0x17};  // noise before the first request
  wire.insert(wire.end(), testing::kRead9006.begin(), testing::kRead9006.end());
  for (uint8_t b : testing::kRead9021)
    wire.push_back(Recode(b));

  const auto requests = FeedAll(reader, wire);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].bytes, testing::kRead9006);
  EXPECT_FALSE(requests[0].recoded);
  EXPECT_TRUE(requests[0].checksum_ok);
  EXPECT_EQ(requests[1].bytes, testing::kRead9021);
  EXPECT_TRUE(requests[1].recoded);
  EXPECT_TRUE(requests[1].checksum_ok);
  EXPECT_EQ(reader.skipped(), 3u);
}

TEST(FrameReader, FlagsABadChecksumAndDropsAFalseHeader) {
  FrameReader reader;
  Bytes damaged = testing::kWrite9005;
  damaged[10] ^= 0x04;
  auto requests = FeedAll(reader, damaged);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_FALSE(requests[0].checksum_ok);
  EXPECT_EQ(requests[0].bytes.size(), 30u);

  // 0xA3 followed by a nonzero third byte is no header: the reader looks for the next start.
  Bytes wire = {0xA3, 0x06, 0x01, 0x00, 0x05};
  wire.insert(wire.end(), testing::kRead9006.begin(), testing::kRead9006.end());
  requests = FeedAll(reader, wire);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].bytes, testing::kRead9006);

  // A length too short for header and checksum is no header either.
  requests = FeedAll(reader, {0xA3, 0x06, 0x00, 0x00, 0x03, 0x00, 0x00});
  EXPECT_TRUE(requests.empty());
  EXPECT_FALSE(reader.in_frame());
}

TEST(FrameReader, ResetForgetsAHalfRequest) {
  FrameReader reader;
  FeedAll(reader, {0xA3, 0x05, 0x00});
  EXPECT_TRUE(reader.in_frame());
  reader.reset();
  const auto requests = FeedAll(reader, testing::kRead9006);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].bytes, testing::kRead9006);
}

}  // namespace
}  // namespace quibra::sim

#include "serial_link.h"

#include <gtest/gtest.h>

#include <chrono>

#include "pty_port.h"
#include "sim_bytes.h"

namespace quibra::sim {
namespace {

using std::chrono::steady_clock;
using testing::Bytes;
using testing::Port;

TEST(SerialLink, AnswersARecodedRequestWithASealedAnswer) {
  Unit unit(22, 1);
  Bytes settings;
  for (uint8_t b = 1; b <= 23; ++b)
    settings.push_back(b);
  ASSERT_TRUE(unit.set_image(9006, 0, settings));
  SerialLink link(unit);
  const std::string path = link.start();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(link.running());
  Port port(path);
  ASSERT_TRUE(port.ok());

  port.send(testing::kRead9006, true);
  Bytes expected = {0x5C, 0x06, 0x00, 0x00, 0x1C};
  expected.insert(expected.end(), settings.begin(), settings.end());
  expected.push_back(0x3F);
  expected.push_back(0x13);
  EXPECT_EQ(port.receive(30), expected);

  const auto log = unit.requests();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].id, 9006);
  EXPECT_TRUE(log[0].recoded);
  EXPECT_TRUE(log[0].checksum_ok);
  EXPECT_TRUE(log[0].payload.empty());
}

TEST(SerialLink, PacedAnswersTakeTheLineTime) {
  Unit unit(11, 2);
  SerialLink link(unit, true);
  Port port(link.start());
  ASSERT_TRUE(port.ok());
  const auto begin = steady_clock::now();
  port.send(testing::kRead9006, true);
  EXPECT_EQ(port.receive(30), testing::kAnswer9006Zero);
  // 7 request bytes in, 30 answer bytes out, at 1.15 ms each.
  EXPECT_GE(steady_clock::now() - begin, 36 * SerialLink::kByteTime);
}

TEST(SerialLink, StopsCleanlyAndOnlyStartsOnce) {
  Unit unit(20, 0);
  SerialLink link(unit);
  const std::string path = link.start();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(link.start().empty());  // already running
  {
    Port port(path);
    port.send(testing::kRead9021, false);
    EXPECT_EQ(port.receive(13).size(), 13u);
  }
  link.stop();
  EXPECT_FALSE(link.running());
  link.stop();
  // The unit is free for a new link afterwards.
  SerialLink again(unit);
  EXPECT_FALSE(again.start().empty());
}

}  // namespace
}  // namespace quibra::sim

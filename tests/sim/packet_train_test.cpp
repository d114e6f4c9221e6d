// The simulated unit's packet trains: the packets it sends for 9011, 9106 and on its own, how it
// follows 9022 and 9023, and its train faults.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame_reader.h"
#include "protocol/checksum.h"
#include "sim_bytes.h"
#include "unit.h"

namespace quibra::sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Ask(Unit& unit, uint8_t code, const Bytes& payload = {}) {
  return unit.handle(RawRequest{testing::Request(code, payload), false, true});
}

// The payload of an answer frame (between its header and checksum), after checking the frame.
Bytes PayloadOf(const Bytes& frame) {
  EXPECT_GE(frame.size(), 7u);
  if (frame.size() < 7) return {};
  EXPECT_EQ(protocol::Crc16Check(frame.data(), frame.size()), 1);
  EXPECT_EQ(frame[0], 0x5C);
  EXPECT_EQ(frame[3] * 256 + frame[4], static_cast<int>(frame.size()) - 2);
  return Bytes(frame.begin() + 5, frame.end() - 2);
}

Bytes Image(size_t n) {
  Bytes image(n);
  for (size_t i = 0; i < n; ++i)
    image[i] = static_cast<uint8_t>(i * 7);
  return image;
}

TEST(PacketTrain, MemoryGoesOutInPacketsThatCountDown) {
  Unit unit(22, 0);
  const Bytes image = Image(2 * Unit::kPacketData + 10);
  ASSERT_TRUE(unit.set_exercise_memory(image));
  const Bytes first = Ask(unit, 11);
  EXPECT_EQ(first[1], 11);
  Bytes p = PayloadOf(first);
  ASSERT_EQ(p.size(), 1 + Unit::kPacketData);
  EXPECT_EQ(p[0], 0x82);  // the first of three
  EXPECT_EQ(Bytes(p.begin() + 1, p.end()), Bytes(image.begin(), image.begin() + 1024));
  EXPECT_EQ(PayloadOf(Ask(unit, 23))[0], 0x82);  // 9023: the same packet again
  EXPECT_EQ(PayloadOf(Ask(unit, 22))[0], 0x01);
  p = PayloadOf(Ask(unit, 22));
  EXPECT_EQ(p, (Bytes{0x00, image[2048], image[2049], image[2050], image[2051], image[2052],
                      image[2053], image[2054], image[2055], image[2056], image[2057]}));
  EXPECT_TRUE(Ask(unit, 22).empty());  // after the last packet the unit has nothing to send
  EXPECT_FALSE(unit.set_exercise_memory(Bytes(Unit::kMaxTrainBytes + 1)));
}

TEST(PacketTrain, FaultsRepeatDropAndSilence) {
  Unit unit(22, 0);
  ASSERT_TRUE(unit.set_exercise_memory(Image(3 * Unit::kPacketData)));
  unit.queue_fault(Fault::InTrain(FaultKind::RepeatPacket, 0));
  unit.queue_fault(Fault::InTrain(FaultKind::DropPacket, 1));
  unit.queue_fault(Fault::InTrain(FaultKind::FallSilent, 2));
  EXPECT_EQ(PayloadOf(Ask(unit, 11))[0], 0x82);
  EXPECT_EQ(PayloadOf(Ask(unit, 22))[0], 0x82);  // repeated once
  EXPECT_TRUE(Ask(unit, 22).empty());            // packet 1 lost on the line
  EXPECT_EQ(PayloadOf(Ask(unit, 23))[0], 0x01);  // asked again, it comes
  EXPECT_TRUE(Ask(unit, 22).empty());            // falls silent at packet 0 ...
  EXPECT_TRUE(Ask(unit, 23).empty());
  EXPECT_TRUE(Ask(unit, 21).empty());  // ... for good
}

TEST(PacketTrain, SingleFileHeaderAndWantedPackets) {
  Unit unit(22, 0);
  Bytes file = Image(Unit::kPacketData + 3);
  unit.set_exercise_files({Bytes{1, 2}, file});
  // File 1 from the first packet: 80 01 = first of 2; size 0x403 low first; index 1; 0.
  Bytes p = PayloadOf(Ask(unit, 106, {0x01, 0x00, 0x00, 0xFF, 0xFF}));
  ASSERT_EQ(p.size(), 9 + Unit::kPacketData);
  EXPECT_EQ(Bytes(p.begin(), p.begin() + 9),
            (Bytes{0x80, 0x01, 0x03, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(p[9], file[0]);
  // The request names packet 0: the last one.
  p = PayloadOf(Ask(unit, 106, {0x01, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(p, (Bytes{0x00, 0x00, file[1024], file[1025], file[1026]}));
  // A byte limit cuts the file; an oversize fault lies about the size.
  unit.queue_fault(Fault::InTrain(FaultKind::OversizeFile, 0));
  p = PayloadOf(Ask(unit, 106, {0x01, 0x00, 50, 0xFF, 0xFF}));
  EXPECT_EQ(p.size(), 9u + 50u);
  EXPECT_EQ(Bytes(p.begin(), p.begin() + 6), (Bytes{0x80, 0x00, 0x01, 0x00, 0x04, 0x00}));
  EXPECT_TRUE(Ask(unit, 106, {0x05, 0x00, 0x00, 0xFF, 0xFF}).empty());  // no such file
}

TEST(PacketTrain, ListenTransferIsSentWithoutRequests) {
  Unit unit(22, 0);
  ASSERT_TRUE(unit.set_exercise_memory(Image(Unit::kPacketData + 1)));
  EXPECT_TRUE(unit.next_spontaneous().empty());
  unit.start_listen_transfer();
  EXPECT_EQ(PayloadOf(unit.next_spontaneous())[0], 0x81);
  const Bytes last = unit.next_spontaneous();
  EXPECT_EQ(last[1], 11);  // the code of 9011
  EXPECT_EQ(PayloadOf(last)[0], 0x00);
  EXPECT_TRUE(unit.next_spontaneous().empty());
  EXPECT_TRUE(unit.requests().empty());
}

}  // namespace
}  // namespace quibra::sim

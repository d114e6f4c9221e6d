// The exercise-file download: packet headers checked against hand-worked bytes, and whole packet
// trains through the engine against a scripted unit on a pty.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "protocol/fake_unit.h"
#include "protocol/file_packets.h"
#include "protocol/message_image.h"
#include "support/final_status.h"

namespace quibra::protocol {
namespace {

using testing::AnswerFrame;
using testing::Bytes;

Bytes Memory(const Module& m) {
  Bytes out;
  for (int32_t p = 1; p <= m.exercise_memory.count(); ++p)
    out.push_back(m.exercise_memory.at(p));
  return out;
}

// ---- headers and the request frame ----------------------------------------------------------

TEST(FilePacketHeader, SerialTrainPacketsCountDown) {
  // 5C 0B 00 00 0C | 83 | 00 0E 16 05 | A0 A1 | crc: the first of four packets, 14 bytes.
  const Bytes first = {0x5C, 0x0B, 0x00, 0x00, 0x0C, 0x83, 0x00, 0x0E, 0x16, 0x05, 0xA0, 0xA1};
  PacketHeader h = ReadPacketHeader(9011, PacketForm::Serial, first.data(), 6);
  EXPECT_FALSE(h.complete);  // the size is not in yet
  h = ReadPacketHeader(9011, PacketForm::Serial, first.data(), 12);
  EXPECT_TRUE(h.complete);
  EXPECT_TRUE(h.first);
  EXPECT_EQ(h.number, 3);
  EXPECT_EQ(h.size, 14);
  EXPECT_EQ(h.value1, 0x16);
  EXPECT_EQ(h.value2, 0x05);
  EXPECT_EQ(h.data_at, 7);  // the first packet's header is stored with its data

  const Bytes later = {0x5C, 0x0B, 0x00, 0x00, 0x08, 0x02, 0xB0, 0xB1};
  h = ReadPacketHeader(9025, PacketForm::Serial, later.data(), 6);
  EXPECT_TRUE(h.complete);
  EXPECT_FALSE(h.first);
  EXPECT_EQ(h.number, 2);
  EXPECT_EQ(h.data_at, 7);
}

TEST(FilePacketHeader, IrdaTrainAndSingleFileLayouts) {
  // IrDA 9011: code, 81 2C = first packet of 300, size 01 F4 = 500, values 22 and 3.
  const Bytes irda = {0x0B, 0x81, 0x2C, 0x01, 0xF4, 0x16, 0x03, 0xEE};
  PacketHeader h = ReadPacketHeader(9011, PacketForm::Irda, irda.data(), 8);
  EXPECT_TRUE(h.first);
  EXPECT_EQ(h.number, 300);
  EXPECT_EQ(h.size, 500);
  EXPECT_EQ(h.value1, 22);
  EXPECT_EQ(h.value2, 3);
  EXPECT_EQ(h.data_at, 4);

  // Serial 9106: 80 05 = first of 5; size 01 00 04 00 low first = 0x40001; 34 12; 07.
  const Bytes single = {0x5C, 0x6A, 0x00, 0x00, 0x10, 0x80, 0x05, 0x01,
                        0x00, 0x04, 0x00, 0x34, 0x12, 0x07, 0xAA};
  h = ReadPacketHeader(9106, PacketForm::Serial, single.data(), 15);
  EXPECT_TRUE(h.first);
  EXPECT_EQ(h.number, 5);
  EXPECT_EQ(h.size, 262145);
  EXPECT_EQ(h.value1, 0x1234);
  EXPECT_EQ(h.value2, 7);
  EXPECT_EQ(h.data_at, 15);
  const Bytes later = {0x5C, 0x6A, 0x00, 0x00, 0x09, 0x01, 0x02, 0xAB};
  h = ReadPacketHeader(9106, PacketForm::Serial, later.data(), 8);
  EXPECT_FALSE(h.first);
  EXPECT_EQ(h.number, 0x102);
  EXPECT_EQ(h.data_at, 8);
}

TEST(FilePacketHeader, SingleFileRequestFrame) {
  uint8_t f[kSingleFileRequestBytes] = {};
  EXPECT_EQ(BuildSingleFileRequest(0x0203, 50, kFromFirstPacket, f, 11), 0);
  ASSERT_EQ(BuildSingleFileRequest(0x0203, 50, kFromFirstPacket, f, kSingleFileRequestBytes), 12);
  const Bytes head(f, f + 10);
  EXPECT_EQ(head, (Bytes{0xA3, 0x6A, 0x00, 0x00, 0x0A, 0x03, 0x02, 0x32, 0xFF, 0xFF}));
  EXPECT_EQ(Crc16Check(f, sizeof f), 1);
}

// ---- the download steps on a module ---------------------------------------------------------

class FilePacketSteps : public quibra::testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    m().exercise_memory.allocate();
    steps().begin(9011);
  }
  FilePackets& steps() { return m().file_packets; }
  int32_t counter(int i) { return m().engine.counters[static_cast<size_t>(i)]; }
  // The engine's order: header checks at bytes 6 and 12, then the store.
  int32_t deliver(int32_t id, const Bytes& frame) {
    for (int at : {6, 12}) {
      if (static_cast<int>(frame.size()) >= at && !steps().check_header(id, frame.data(), at)) {
        return -1;
      }
    }
    return steps().store_packet(id, frame.data(), static_cast<int>(frame.size()));
  }
};

TEST_F(FilePacketSteps, LastPacketAfterAGapDoesNotComplete) {
  EXPECT_EQ(deliver(9011, AnswerFrame(11, {0x82, 0x00, 0x08, 0x16, 0x05})), 70);
  EXPECT_EQ(deliver(9011, AnswerFrame(11, {0x00, 0xD0})), 70);  // packet 1 never came
  EXPECT_EQ(m().exercise_memory.count(), 4);
  EXPECT_EQ(counter(kCounterExpectedPacket), 1);
}

TEST_F(FilePacketSteps, OversizeSingleFileIsRefusedAtByteTwelve) {
  steps().begin(9106);
  // First packet of 1 announcing 262145 bytes (01 00 04 00, low byte first).
  const Bytes oversize = AnswerFrame(106, {0x80, 0x01, 0x01, 0x00, 0x04, 0x00, 0, 0, 0, 0xAA});
  EXPECT_TRUE(steps().check_header(9106, oversize.data(), 6));
  EXPECT_FALSE(steps().check_header(9106, oversize.data(), 12));
  EXPECT_EQ(steps().store_packet(9106, oversize.data(), static_cast<int>(oversize.size())), 0);
  EXPECT_EQ(m().exercise_memory.count(), 0);
  // Exactly the limit is taken; only the file's own bytes are stored.
  const Bytes limit = AnswerFrame(106, {0x80, 0x00, 0x00, 0x00, 0x04, 0x00, 0, 0, 0, 0xAA, 0xAB});
  EXPECT_EQ(deliver(9106, limit), 10);
  EXPECT_EQ(Memory(m()), (Bytes{0xAA, 0xAB}));
}

TEST_F(FilePacketSteps, IrdaFormStoresFromByteFour) {
  const Bytes first = {0x0B, 0x80, 0x01, 0x00, 0x07, 0x16, 0x05, 0xA0};
  EXPECT_EQ(steps().store_irda_packet(9011, first.data(), static_cast<int>(first.size())), 70);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 20);  // no engine runs
  EXPECT_EQ(m().statuses.get(9500, false), 50);
  const Bytes last = {0x0B, 0x00, 0x00, 0xB0, 0xB1};
  EXPECT_EQ(steps().store_irda_packet(9011, last.data(), static_cast<int>(last.size())), 10);
  EXPECT_EQ(Memory(m()), (Bytes{0x00, 0x07, 0x16, 0x05, 0xA0, 0xB0, 0xB1}));
}

// ---- trains through the engine --------------------------------------------------------------

using FileDownloadEngine = testing::FakeUnitTest;

TEST_F(FileDownloadEngine, TrainIsAcknowledgedPacketByPacket) {
  const std::vector<Bytes> train = {
      AnswerFrame(11, {0x83, 0x00, 0x0E, 0x16, 0x05, 0xA0, 0xA1}),
      AnswerFrame(11, {0x02, 0xB0, 0xB1, 0xB2}),
      AnswerFrame(11, {0x01, 0xC0, 0xC1}),
      AnswerFrame(11, {0x00, 0xD0, 0xD1, 0xD2}),
  };
  // The progress the library shows when each acknowledgement reaches the unit (the unit's
  // thread writes it, the test reads it once the unit has seen them all).
  struct Progress {
    std::mutex lock;
    std::vector<int32_t> seen;
  };
  auto progress = std::make_shared<Progress>();
  auto sent = std::make_shared<size_t>(0);
  auto repeated = std::make_shared<bool>(false);
  start_unit([=](const Bytes& r) -> Bytes {
    if (r[1] == 22) {
      std::lock_guard guard(progress->lock);
      progress->seen.push_back(fnQuibra_GetComProgress());
    }
    if (*sent >= train.size()) return {};
    if (*sent == 2 && !*repeated) {
      *repeated = true;  // the unit sends packet 2 a second time
      return train[1];
    }
    return train[(*sent)++];
  });
  ASSERT_TRUE(start());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9011, 0), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 10);
  ASSERT_TRUE(unit_->wait_for_requests(6, 5000));
  const auto requests = unit_->requests();
  ASSERT_EQ(requests.size(), 6u);
  EXPECT_EQ(requests[0], (Bytes{0xA3, 0x0B, 0x00, 0x00, 0x05, GetMessageByte(9011, 0, 5),
                                GetMessageByte(9011, 0, 6)}));
  for (size_t i = 1; i < requests.size(); ++i)
    EXPECT_EQ(requests[i][1], 22) << i;  // 9022 after every packet, the repeat included
  std::vector<int32_t> seen;
  for (int i = 0; i < 500 && seen.size() < 5; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::lock_guard guard(progress->lock);
    seen = progress->seen;
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{25, 50, 50, 75, 100}));
  EXPECT_EQ(fnQuibra_GetSCErrorData(101), 4);  // the packets the first one announced
  EXPECT_EQ(Memory(m()), (Bytes{0x00, 0x0E, 0x16, 0x05, 0xA0, 0xA1, 0xB0, 0xB1, 0xB2, 0xC0, 0xC1,
                                0xD0, 0xD1, 0xD2}));
}

TEST_F(FileDownloadEngine, OversizeFirstPacketFailsAndTheRequestGoesAgain) {
  auto asked = std::make_shared<int>(0);
  start_unit([=](const Bytes& r) -> Bytes {
    if (r[1] != 106) return {};
    // The first packet names file 2 after its size.
    if (++*asked == 1) return AnswerFrame(106, {0x80, 0x00, 0x01, 0x00, 0x04, 0x00, 2, 0, 0, 1});
    return AnswerFrame(106, {0x80, 0x00, 0x03, 0x00, 0x00, 0x00, 2, 0, 0, 1, 2, 3});
  });
  m().transfer.download = {0, 1, 2, 0};
  SetMessageByte(9106, 0, 5, 2);
  ASSERT_TRUE(start());
  ASSERT_EQ(fnQuibra_SendIRComMessage(9106, 0), 1);
  EXPECT_EQ(testing::WaitFinalStatus(), 10);
  const auto requests = unit_->requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const Bytes& r : requests) {
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(r[5], 2);  // file index 2, from the first packet
    EXPECT_EQ(r[8], 0xFF);
    EXPECT_EQ(r[9], 0xFF);
  }
  EXPECT_EQ(Memory(m()), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace quibra::protocol

// The simulated unit against the library's own message images: requests built and sealed by
// the library go over a real line to the unit, and its answers land where the library's
// unpacking looks for them.
#include <gtest/gtest.h>

#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/message_image.h"
#include "protocol/seal.h"
#include "pty_port.h"
#include "serial_link.h"
#include "support/module_fixture.h"

namespace quibra::sim {
namespace {

using testing::Bytes;
using testing::Port;

class LibraryRoundTrip : public quibra::testing::ModuleTest {
 protected:
  // The sealed image of a message as the library sends it.
  static Bytes RequestImage(int32_t id, int32_t param) {
    EXPECT_EQ(protocol::SealMessageImage(id, param, 0), 1);
    const int32_t length = protocol::GetMessageLength(id, param, protocol::kFieldLength);
    Bytes image;
    for (int32_t i = 0; i < length; ++i)
      image.push_back(protocol::GetMessageByte(id, param, i));
    return image;
  }
};

TEST_F(LibraryRoundTrip, ReminderSlotWrittenAndReadBack) {
  Unit unit(12, 0);
  SerialLink link(unit);
  Port port(link.start());
  ASSERT_TRUE(port.ok());

  // A reminder for slot 3: bytes 6..18 of the 9013 image (byte 5 is the slot).
  const Bytes reminder = {0x30, 0x07, 0x24, 0x99, 0x2C, 0x41, 0x42,
                          0x43, 0x44, 0x45, 0x46, 0x47, 0x21};
  for (size_t i = 0; i < reminder.size(); ++i) {
    ASSERT_TRUE(protocol::SetMessageByte(9013, 3, static_cast<int32_t>(6 + i), reminder[i]));
  }
  port.send(RequestImage(9013, 3), true);
  const Bytes ack = port.receive(8);
  ASSERT_EQ(ack.size(), 8u);
  EXPECT_EQ(protocol::Crc16Check(ack.data(), ack.size()), 1);
  EXPECT_EQ(ack[5], 0);  // acknowledged

  port.send(RequestImage(9014, 3), true);
  const int32_t answer_length = protocol::AnswerLength(9014, 3);
  const Bytes answer = port.receive(static_cast<size_t>(answer_length));
  ASSERT_EQ(answer.size(), static_cast<size_t>(answer_length));
  EXPECT_EQ(protocol::Crc16Check(answer.data(), answer.size()), 1);
  protocol::StoreSerialAnswer(9014, 3, answer.data(), answer.size());

  // The received image: the slot at index 6, the reminder from 7 on.
  EXPECT_EQ(protocol::GetMessageByte(9014, 3, 6), 3);
  for (size_t i = 0; i < reminder.size(); ++i) {
    EXPECT_EQ(protocol::GetMessageByte(9014, 3, static_cast<int32_t>(7 + i)), reminder[i]) << i;
  }
  const auto log = unit.requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].id, 9013);
  EXPECT_EQ(log[0].param, 3);
  EXPECT_TRUE(log[0].recoded);
  EXPECT_EQ(Bytes(log[0].payload.begin() + 1, log[0].payload.end()), reminder);
}

TEST_F(LibraryRoundTrip, IdentificationLandsWhereTheUnpackReadsIt) {
  Unit unit(23, 2);
  SerialLink link(unit);
  Port port(link.start());
  ASSERT_TRUE(port.ok());
  port.send(RequestImage(9021, 1), false);
  const Bytes answer = port.receive(static_cast<size_t>(protocol::AnswerLength(9021, 1)));
  ASSERT_EQ(answer.size(), 13u);
  protocol::StoreSerialAnswer(9021, 1, answer.data(), answer.size());
  EXPECT_EQ(protocol::GetMessageByte(9021, 1, 6), 37);    // the product code of type 23
  EXPECT_EQ(protocol::GetMessageByte(9021, 1, 7), 0x20);  // variant 2 in the high nibble
}

}  // namespace
}  // namespace quibra::sim

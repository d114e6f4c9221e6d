#include "protocol/message_image.h"

#include <array>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/message_ids.h"
#include "protocol/message_status.h"
#include "protocol/raw_memory.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using namespace quibra::protocol;
using MessageImage = ModuleTest;

std::vector<uint8_t> header(int32_t id, int32_t param) {
  std::vector<uint8_t> bytes;
  for (int32_t i = 0; i < 5; ++i)
    bytes.push_back(GetMessageByte(id, param, i));
  return bytes;
}

TEST_F(MessageImage, HeaderBytesComeFromTheCatalogue) {
  EXPECT_EQ(header(9001, 0), (std::vector<uint8_t>{0xA3, 0x01, 0x00, 0x00, 0x10}));
  EXPECT_EQ(header(9073, 0), (std::vector<uint8_t>{0xA3, 73, 0x00, 0x00, 100}));
  // The file request travels as its acknowledgement when given that as parameter.
  EXPECT_EQ(header(9011, 9022), (std::vector<uint8_t>{0xA3, 22, 0x00, 0x00, 5}));
  EXPECT_EQ(header(9106, 9023)[1], 23);
  // Unused ids keep their own code and carry nothing else.
  EXPECT_EQ(header(9036, 0), (std::vector<uint8_t>{0xA3, 36, 0, 0, 0}));
  EXPECT_EQ(GetMessageByte(9036, 0, 5), 0);
  EXPECT_FALSE(SetMessageByte(9036, 0, 5, 1));
  EXPECT_EQ(GetMessageByte(9109, 0, 0), 0);
  EXPECT_EQ(GetMessageByte(9001, 0, -1), 0);
}

TEST_F(MessageImage, LengthsAndSubstitutions) {
  EXPECT_EQ(GetMessageLength(9084, 32, kFieldLength), 18);
  EXPECT_EQ(GetMessageLength(9084, 32, kFieldLengthLow), 16);
  EXPECT_EQ(GetMessageLength(9084, 0, kFieldLength), 28);
  EXPECT_EQ(GetMessageLength(9084, 31, kFieldLength), 28);
  EXPECT_EQ(GetMessageLength(9109, 0, kFieldLength), 0);
  EXPECT_EQ(GetMessageLength(9000, 0, kFieldLength), 0);
  EXPECT_FALSE(SetMessageByte(9109, 0, 5, 1));
  EXPECT_FALSE(SetMessageByte(9000, 0, 5, 1));

  EXPECT_EQ(GetMessageLength(9021, 0, kFieldTries), 15);
  EXPECT_EQ(GetMessageLength(9011, 0, kFieldCode), 11);
  EXPECT_EQ(GetMessageLength(9011, 9023, kFieldCode), 23);
  EXPECT_EQ(GetMessageLength(9011, 9022, kFieldWait), 250);
  EXPECT_EQ(GetMessageLength(9011, 0, kFieldWait), 200);
  EXPECT_EQ(AnswerLength(9011, 0), 9);
  EXPECT_EQ(AnswerLength(9011, 9022), 0);
  EXPECT_EQ(GetMessageLength(9001, 0, kFieldIrdaOffset), 0);
  EXPECT_EQ(GetMessageLength(9001, 0, 22002), 0);
}

TEST_F(MessageImage, RawMemoryAreasSizeTheirMessages) {
  m().unit.type = 10;
  // Area 21 of type 10: 3 bytes.
  EXPECT_EQ(GetMessageLength(9008, 21, kFieldLength), 10);
  EXPECT_EQ(GetMessageLength(9008, 21, kFieldLengthLow), 8);
  EXPECT_EQ(AnswerLength(9008, 21), 12);
  EXPECT_EQ(GetMessageLength(9008, 21, kFieldIrdaSend), 4);
  EXPECT_EQ(GetMessageLength(9008, 21, kFieldIrdaAnswer), 6);
  EXPECT_EQ(GetMessageLength(9007, 21, kFieldLength), 12);
  EXPECT_EQ(GetMessageLength(9007, 21, kFieldLengthLow), 10);
  EXPECT_EQ(AnswerLength(9007, 21), 8);
  EXPECT_EQ(GetMessageLength(9007, 21, kFieldIrdaSend), 6);
  EXPECT_EQ(GetMessageLength(9007, 21, kFieldIrdaAnswer), 2);
  EXPECT_EQ(GetMessageLength(9035, 21, kFieldLength), 13);
  EXPECT_EQ(GetMessageLength(9035, 21, kFieldLengthLow), 11);
  EXPECT_EQ(GetMessageLength(9035, 21, kFieldIrdaSend), 7);
  EXPECT_EQ(AnswerLength(9035, 21), 8);
  // An area the type does not have sizes nothing.
  EXPECT_EQ(GetMessageLength(9008, 45, kFieldLength), 0);
  m().unit.type = 20;
  EXPECT_EQ(AnswerLength(9008, 54), 190);
  EXPECT_EQ(GetMessageLength(9008, 54, kFieldIrdaAnswer), 184);
  // Area 50 is whatever the exports set beforehand.
  m().raw_memory.area50_address = 700;
  m().raw_memory.area50_count = 12;
  EXPECT_EQ(GetMessageLength(9035, 50, kFieldLength), 22);
  EXPECT_EQ(AnswerLength(9008, 50), 21);
}

TEST_F(MessageImage, SharedAndShiftedStores) {
  // 9001 and 9002 share bank 5.
  SetMessageByte(9001, 0, 7, 0x44);
  EXPECT_EQ(GetMessageByte(9002, 0, 7), 0x44);
  // The IrDA halves of the exercise set: the second half's answer (9029) is read by 9027 from
  // image index 61 of the full image, and by 9017 at index 61 too.
  SetMessageByte(9029, 4, 0, 0xA1);
  EXPECT_EQ(GetMessageByte(9017, 4, 61), 0xA1);
  EXPECT_EQ(GetMessageByte(9027, 4, 61), 0xA1);
  SetMessageByte(9026, 4, 4, 0xB2);  // 9026 writes from index 6 of the full image
  EXPECT_EQ(GetMessageByte(9017, 4, 10), 0xB2);
  EXPECT_EQ(GetMessageByte(9017, 3, 10), 0);
  // 16600 has no sub-image 0.
  EXPECT_FALSE(SetMessageByte(9017, 0, 10, 1));
}

TEST_F(MessageImage, SerialAnswerPayloadLandsFromIndexSix) {
  // 9006 answers with 30 bytes: 5C 06 00 00 1C, 23 payload bytes, CRC.
  std::vector<uint8_t> answer = {0x5C, 0x06, 0x00, 0x00, 0x1C};
  for (uint8_t i = 0; i < 23; ++i)
    answer.push_back(static_cast<uint8_t>(0x30 + i));
  answer.push_back(0xEE);
  answer.push_back(0xFF);
  StoreSerialAnswer(9006, 0, answer.data(), answer.size());
  EXPECT_EQ(GetMessageByte(9006, 0, 5), 0x1C);
  EXPECT_EQ(GetMessageByte(9006, 0, 6), 0x30);
  EXPECT_EQ(GetMessageByte(9006, 0, 28), 0x30 + 22);
  EXPECT_EQ(GetMessageByte(9006, 0, 29), 0xEE);
  EXPECT_EQ(GetMessageByte(9006, 0, 30), 0xFF);
  // Bytes past the store are dropped: bank 16400 ends at image index 39.
  std::vector<uint8_t> longer(60, 0x11);
  StoreSerialAnswer(9006, 0, longer.data(), longer.size());
  EXPECT_EQ(GetMessageByte(9006, 0, 39), 0x11);
  EXPECT_EQ(GetMessageByte(9006, 0, 40), 0);
}

TEST_F(MessageImage, IrdaAnswerCarriesTheZeroedReceiveBuffer) {
  for (int32_t i = 5; i < 60; ++i)
    SetMessageByte(9006, 0, i, 0x77);
  const uint8_t answer[] = {6, 0x10, 0x11, 0x12};
  StoreIrdaAnswer(9006, 0, answer, sizeof answer);  // offset 4: byte 2 lands at index 6
  EXPECT_EQ(GetMessageByte(9006, 0, 5), 0x77);
  EXPECT_EQ(GetMessageByte(9006, 0, 6), 0x10);
  EXPECT_EQ(GetMessageByte(9006, 0, 8), 0x12);
  EXPECT_EQ(GetMessageByte(9006, 0, 9), 0);   // the zeroed rest of the receive buffer
  EXPECT_EQ(GetMessageByte(9006, 0, 38), 0);  // number 34 = received + 30
  EXPECT_EQ(GetMessageByte(9006, 0, 39), 0x77);
}

TEST_F(MessageImage, IrdaRequestBytes) {
  std::array<uint8_t, 8> out{};
  SetMessageByte(9003, 2, 6, 0x61);
  EXPECT_EQ(IrdaRequestBytes(9004, 2, out.data(), 2), 2u);
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(out[1], 2);  // the exercise-set number itself
  // 9001 sends its image from index 5 on: byte k is index k + 4.
  SetMessageByte(9001, 0, 5, 0xC5);
  SetMessageByte(9001, 0, 6, 0xC6);
  SetMessageByte(9001, 0, 7, 0xC7);
  IrdaRequestBytes(9001, 0, out.data(), 4);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 0xC5);
  EXPECT_EQ(out[2], 0xC6);
  EXPECT_EQ(out[3], 0xC7);
  // 9027 sends the second half of the exercise set from index 61.
  SetMessageByte(9017, 5, 61, 0xD1);
  IrdaRequestBytes(9027, 5, out.data(), 3);
  EXPECT_EQ(out[0], 27);
  EXPECT_EQ(out[2], 0xD1);
  EXPECT_EQ(IrdaRequestBytes(9109, 0, out.data(), 3), 0u);
}

TEST_F(MessageImage, StatusWords) {
  MessageStatuses& statuses = m().statuses;
  statuses.set(9001, 10);
  statuses.set(9108, 30);
  statuses.set(protocol::msg::kCollectiveStatus, 20);
  statuses.set(9000, 5);
  statuses.set(9109, 5);
  EXPECT_EQ(statuses.get(9001, false), 10);
  EXPECT_EQ(statuses.get(9001, true), 10);
  EXPECT_EQ(statuses.get(9001, false), 0);
  EXPECT_EQ(statuses.get(9108, false), 30);
  EXPECT_EQ(statuses.get(protocol::msg::kCollectiveStatus, false), 20);
  EXPECT_EQ(statuses.get(9000, false), 0);
  EXPECT_EQ(statuses.get(9109, false), 0);
  statuses.clear_all();
  EXPECT_EQ(statuses.get(9108, false), 0);
  EXPECT_EQ(statuses.get(protocol::msg::kCollectiveStatus, false), 0);
}

}  // namespace
}  // namespace quibra::testing

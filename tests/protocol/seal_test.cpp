#include "protocol/seal.h"

#include <vector>

#include "protocol/banks.h"
#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/message_image.h"
#include "protocol/raw_memory.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using namespace quibra::protocol;
using Seal = ModuleTest;

// The serial wire bytes of a message: image indexes 0 .. length - 1.
std::vector<uint8_t> wire(int32_t id, int32_t param) {
  std::vector<uint8_t> bytes;
  const int32_t length = GetMessageLength(id, param, kFieldLength);
  for (int32_t i = 0; i < length; ++i)
    bytes.push_back(GetMessageByte(id, param, i));
  return bytes;
}

bool checks(int32_t id, int32_t param) {
  const std::vector<uint8_t> bytes = wire(id, param);
  return Crc16Check(bytes.data(), bytes.size()) == 1;
}

TEST_F(Seal, LoadSealsEveryRequestImage) {
  for (int32_t id : {9021, 9002, 9006, 9011, 9022, 9023, 9024, 9012, 9020, 9016}) {
    EXPECT_TRUE(checks(id, 0)) << id;
  }
  for (int32_t p = 1; p <= 5; ++p)
    EXPECT_TRUE(checks(9004, p)) << p;
  for (int32_t p = 0; p <= 6; ++p)
    EXPECT_TRUE(checks(9014, p)) << p;
  for (int32_t p = 1; p <= 7; ++p)
    EXPECT_TRUE(checks(9018, p)) << p;
  // 9014 carries its parameter at index 5, so each sub-image has its own checksum.
  EXPECT_NE(GetMessageByte(9014, 1, 7), GetMessageByte(9014, 2, 7));
}

TEST_F(Seal, ResealAllFollowsTheUnitLayout) {
  m().banks.clear(BankId::Bank16200);
  m().unit.type = 22;
  EXPECT_EQ(SealMessageImage(kResealAll, 0, 0), 1);  // mode 0 asked, type 22 forces mode 1
  for (int32_t p = 1; p <= 5; ++p) {
    EXPECT_TRUE(checks(9069, p)) << p;
    EXPECT_FALSE(checks(9004, p)) << p;  // same bytes, other code: the seal is 9069's
  }
  m().unit.type = 10;
  m().banks.clear(BankId::Bank16200);
  SealMessageImage(kResealAllBatch, 0, 0);
  for (int32_t p = 1; p <= 5; ++p)
    EXPECT_TRUE(checks(9004, p)) << p;
  m().banks.clear(BankId::Bank16200);
  SealMessageImage(kResealAll, 0, 2);  // a mode that names neither layout seals neither
  EXPECT_FALSE(checks(9004, 1));
  EXPECT_FALSE(checks(9069, 1));
}

TEST_F(Seal, ShortFormOf9084) {
  EXPECT_EQ(SealMessageImage(9084, 32, 0), 1);
  EXPECT_TRUE(checks(9084, 32));
  EXPECT_EQ(wire(9084, 32).size(), 18u);
}

TEST_F(Seal, MessagesWithoutSerialLengthGetNoChecksum) {
  SetMessageByte(9025, 0, 5, 0x55);
  EXPECT_EQ(SealMessageImage(9025, 0, 0), 1);
  EXPECT_EQ(GetMessageByte(9025, 0, 5), 0x55);
  EXPECT_EQ(SealMessageImage(9089, 0, 0), 1);
  EXPECT_EQ(SealMessageImage(9090, 0, 0), 1);
}

TEST_F(Seal, RawMemoryAreaImage) {
  m().unit.type = 12;
  // Area 22 of type 12: address 104, 3 bytes; fill as the engine does and seal.
  m().banks.clear_scratch();
  m().banks.set_scratch(5, 104);
  m().banks.set_scratch(6, 0);
  m().banks.set_scratch(7, 3);
  EXPECT_EQ(SealMessageImage(9008, 22, 0), 1);
  EXPECT_TRUE(checks(9008, 22));
  EXPECT_EQ(wire(9008, 22).size(), 10u);
  // The variable area: 9035 with area 50 is sealed over the variable count + 12 bytes.
  m().raw_memory.area50_count = 20;
  EXPECT_EQ(SealMessageImage(9035, 50, 0), 1);
  std::vector<uint8_t> bytes;
  for (int32_t i = 0; i < 32; ++i)
    bytes.push_back(GetMessageByte(9035, 50, i));
  EXPECT_EQ(Crc16Check(bytes.data(), bytes.size()), 1);
}

TEST_F(Seal, MemoryWriteCommand) {
  m().banks.set_scratch(20, 0x5A);
  EXPECT_EQ(BuildMemoryWriteCommand(39, 0, 0, 256, 3), -1);
  EXPECT_EQ(BuildMemoryWriteCommand(33, 1, 0, 256, 3), -1);
  EXPECT_EQ(BuildMemoryWriteCommand(33, 0, 2, 256, 3), -1);
  EXPECT_EQ(m().banks.scratch(20), 0x5A);  // refused builds leave the scratch as it was

  EXPECT_EQ(BuildMemoryWriteCommand(36, 0, 1, 0x01020304, 3), 12);
  const uint8_t expected[] = {0xAC, 0x00, 0x01, 0x04, 0x03, 0x02, 0x01};
  for (int32_t i = 0; i < 7; ++i)
    EXPECT_EQ(m().banks.scratch(5 + i), expected[i]) << i;
  EXPECT_EQ(m().banks.scratch(20), 0);
  EXPECT_EQ(GetMessageLength(9089, 0, kFieldIrdaSend), 11);
  EXPECT_EQ(GetMessageLength(9089, 0, kFieldIrdaAnswer), 2);
  EXPECT_EQ(fnKx2GetEEPROMData(5), 0xAC);
  EXPECT_EQ(fnKx2GetEEPROMData(500), 0);
  EXPECT_EQ(fnKx2GetEEPROMData(-1), 0);

  for (auto [type, opcode] : {std::pair{33, 0xA4}, std::pair{34, 0xA7}, std::pair{35, 0xA6},
                              std::pair{37, 0xAD}, std::pair{38, 0xAE}}) {
    ASSERT_EQ(BuildMemoryWriteCommand(type, 0, 0, 0, 1), 12);
    EXPECT_EQ(m().banks.scratch(5), opcode) << type;
  }
}

TEST_F(Seal, MemoryReadCommand) {
  EXPECT_EQ(BuildMemoryReadCommand(0, 3, 0, 1), -1);
  EXPECT_EQ(BuildMemoryReadCommand(2, 0, 0, 1), -1);
  EXPECT_EQ(BuildMemoryReadCommand(0, 0, 0x00ABCDEF, 0x0164), 10);
  const uint8_t expected[] = {0x00, 0xEF, 0xCD, 0xAB, 0x00, 0x64, 0x01};
  for (int32_t i = 0; i < 7; ++i)
    EXPECT_EQ(m().banks.scratch(5 + i), expected[i]) << i;
  EXPECT_EQ(GetMessageLength(9090, 0, kFieldIrdaSend), 8);
  EXPECT_EQ(GetMessageLength(9090, 0, kFieldIrdaAnswer), 0x164 + 6);
}

}  // namespace
}  // namespace quibra::testing

// The simulated unit's identification and direct memory commands, against hand-worked bytes.
#include <gtest/gtest.h>

#include "sim_bytes.h"
#include "unit.h"

namespace quibra::sim {
namespace {

using testing::Bytes;

Bytes AskShort(Unit& unit, const Bytes& request) {
  return unit.handle_short_form(request);
}

TEST(Identification, OlderUnitSerialAnswerCarriesFilesMemoryAndBattery) {
  Unit k55t(22, 3);
  Identification id = k55t.identification();
  id.files = 12;          // 0x12 in BCD
  id.used_memory = 4096;  // 0x10 0x00
  id.state_bits = 1;      // battery low: bit 0 beside the variant
  id.product_code = 99;   // the unit keeps its own code
  k55t.set_identification(id);
  EXPECT_EQ(k55t.handle(RawRequest{testing::kRead9021, false, true}),
            (Bytes{0x5C, 0x15, 0x00, 0x00, 0x0B, 0x13, 0x31, 0x12, 0x00, 0x10, 0x00, 0x99, 0x51}));
  // Types 20 and 21 count past 99 with a flag in the next byte.
  Unit trk2(20, 0);
  id = trk2.identification();
  id.files = 100;
  trk2.set_identification(id);
  // In the short form an older unit answers the same six bytes after the code.
  EXPECT_EQ(AskShort(trk2, {0x15}), (Bytes{0x15, 0x55, 0x00, 0x99, 0x01, 0x00, 0x00}));
}

TEST(Identification, NewerUnitsReportStateMemoryAndMap) {
  // PR6 (code 172), variant 2: 259 files, 0x12345 bytes used, state bits 0 and 2, and the
  // simulator's own map (base 20000; bike area 1150, then 1300 .. 1800).
  Unit pr6(36, 2);
  Identification id = pr6.identification();
  id.files = 259;
  id.used_memory = 0x12345;
  id.state_bits = 0x05;
  id.horse_mode = true;  // a running unit has none: nothing in byte 15
  pr6.set_identification(id);
  const Bytes answer6 = AskShort(pr6, {0x15});
  EXPECT_EQ(answer6, (Bytes{0x15, 0xAC, 0x00, 0x25, 0x03, 0x01, 0x00, 0x01, 0x23, 0x45, 0x00,
                            0x20, 0x4E, 0x00, 0x7E, 0x04, 0x14, 0x05, 0xB4, 0x05, 0x18, 0x06,
                            0x2C, 0x06, 0x54, 0x01, 0x54, 0x06, 0xA4, 0x06, 0x08, 0x07}));

  // PR9W (group B): the state bits 0, 2 and 6 and the horse mode travel in byte 15 (bits 0, 4,
  // 2 and 7); the variant byte carries the variant alone.
  Unit pr9w(38, 4);
  id = pr9w.identification();
  id.state_bits = 0x45;
  id.horse_mode = true;
  pr9w.set_identification(id);
  const Bytes answer = AskShort(pr9w, {0x15});
  ASSERT_EQ(answer.size(), 32u);
  EXPECT_EQ(answer[1], 174);
  EXPECT_EQ(answer[3], 0x40);
  EXPECT_EQ(answer[10], 0x95);

  // VC8 (type 35) reports state bit 4 in byte 15, bit 3 beside the variant.
  Unit vc8(35, 1);
  id = vc8.identification();
  id.state_bits = 0x18;
  vc8.set_identification(id);
  const Bytes vc8_answer = AskShort(vc8, {0x15});
  EXPECT_EQ(vc8_answer[3], 0x18);
  EXPECT_EQ(vc8_answer[10], 0x01);

  // The serial answer carries the same bytes in a frame that announces its longer length.
  const Bytes serial = pr6.handle(RawRequest{testing::kRead9021, false, true});
  ASSERT_EQ(serial.size(), 38u);
  EXPECT_EQ(serial[4], 36);
  EXPECT_EQ(Bytes(serial.begin() + 5, serial.end() - 2), Bytes(answer6.begin() + 1, answer6.end()));
  EXPECT_NE(protocol::Crc16Check(serial.data(), serial.size()), 0);  // the library's check
}

TEST(DirectMemory, ReadsEchoTheRequestAndWritesNeedTheTypesOpcode) {
  Unit pr6(36, 0);
  EXPECT_EQ(pr6.memory_size(), 0x20000);
  EXPECT_EQ(Unit(34, 0).memory_size(), 0x40000);
  ASSERT_TRUE(pr6.set_memory(0x1FFFE, Bytes{0xAB, 0xCD}));
  // Read 4 bytes at 0x1FFFE: two in memory, two past its end (answered as zero).
  EXPECT_EQ(AskShort(pr6, {0x5A, 0x00, 0xFE, 0xFF, 0x01, 0x00, 0x04, 0x00}),
            (Bytes{0x5A, 0x00, 0xFE, 0xFF, 0x01, 0x00, 0xAB, 0xCD, 0x00, 0x00}));
  // A read that starts past the end, or of a third bank, gets no answer.
  EXPECT_TRUE(AskShort(pr6, {0x5A, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00}).empty());
  EXPECT_TRUE(AskShort(pr6, {0x5A, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00}).empty());

  // Write 0x11 0x22 at 16 with the PR6's opcode 0xAC; the second bank (flag 1) apart.
  EXPECT_EQ(AskShort(pr6, {0x59, 0xAC, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x11, 0x22}),
            (Bytes{0x59, 0x00}));
  EXPECT_EQ(pr6.memory(16, 2), (Bytes{0x11, 0x22}));
  EXPECT_EQ(AskShort(pr6, {0x59, 0xAC, 0x00, 0x01, 0x10, 0x00, 0x00, 0x00, 0x33}),
            (Bytes{0x59, 0x00}));
  EXPECT_EQ(pr6.memory(16, 1, 1), (Bytes{0x33}));
  EXPECT_EQ(pr6.memory(16, 2), (Bytes{0x11, 0x22}));
  // The PR9's opcode, or a write past the end, is refused and changes nothing.
  EXPECT_EQ(AskShort(pr6, {0x59, 0xAD, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x77}),
            (Bytes{0x59, 0x01}));
  EXPECT_EQ(AskShort(pr6, {0x59, 0xAC, 0x00, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x77, 0x77}),
            (Bytes{0x59, 0x01}));
  EXPECT_EQ(pr6.memory(16, 2), (Bytes{0x11, 0x22}));
  EXPECT_EQ(pr6.memory(0x1FFFF, 1), (Bytes{0xCD}));

  // The log names the address of each command; a dropped answer drops only the answer.
  pr6.queue_fault(Fault{FaultKind::NoAnswer, 9090});
  EXPECT_TRUE(AskShort(pr6, {0x5A, 0x00, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00}).empty());
  const auto log = pr6.requests();
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[0].id, 9090);
  EXPECT_EQ(log[0].param, 0x1FFFE);
  EXPECT_EQ(log[3].id, 9089);
  EXPECT_EQ(log[3].param, 16);
  // An older unit keeps no memory for these commands.
  Unit k60(12, 0);
  EXPECT_TRUE(AskShort(k60, {0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00}).empty());
}

}  // namespace
}  // namespace quibra::sim

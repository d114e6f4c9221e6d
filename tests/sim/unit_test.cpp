#include "unit.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "frame_reader.h"
#include "sim_bytes.h"

namespace quibra::sim {
namespace {

using testing::Bytes;

std::vector<uint8_t> Ask(Unit& unit, const Bytes& request, bool checksum_ok = true) {
  return unit.handle(RawRequest{request, false, checksum_ok});
}

TEST(Unit, IdentifiesItselfWithProductCodeAndVariant) {
  Unit k55t(22, 0);
  EXPECT_EQ(Ask(k55t, testing::kRead9021),
            (Bytes{0x5C, 0x15, 0x00, 0x00, 0x0B, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x19, 0xAC}));
  Unit k60(12, 3);
  EXPECT_EQ(Ask(k60, testing::kRead9021),
            (Bytes{0x5C, 0x15, 0x00, 0x00, 0x0B, 0x22, 0x30, 0x00, 0x00, 0x00, 0x00, 0xE9, 0x1C}));

  EXPECT_THROW(Unit(14, 0), std::invalid_argument);
  EXPECT_THROW(Unit(24, 0), std::invalid_argument);
  EXPECT_THROW(Unit(11, 0, 256), std::invalid_argument);
  EXPECT_THROW(Unit(11, 16), std::invalid_argument);
}

TEST(Unit, WriteIsAcknowledgedAndReadBack) {
  Unit unit(11, 1);
  EXPECT_EQ(Ask(unit, testing::kRead9006), testing::kAnswer9006Zero);
  EXPECT_EQ(Ask(unit, testing::kWrite9005),
            (Bytes{0x5C, 0x05, 0x00, 0x00, 0x06, 0x00, 0xB5, 0xC2}));
  Bytes expected = {0x5C, 0x06, 0x00, 0x00, 0x1C};
  for (uint8_t b = 0x40; b <= 0x56; ++b)
    expected.push_back(b);
  expected.push_back(0xE3);
  expected.push_back(0x73);
  EXPECT_EQ(Ask(unit, testing::kRead9006), expected);
  // Both messages of the area see the same image.
  EXPECT_EQ(unit.image(9005, 0), unit.image(9006, 0));
  EXPECT_EQ(unit.image(9006, 0).front(), 0x40);
}

TEST(Unit, SubImagesAreKeptApartByTheNumberTheRequestCarries) {
  Unit unit(13, 0);
  const Bytes write_3 = {0xA3, 0x0D, 0x00, 0x00, 0x13, 0x03, 0x11, 0x12, 0x13, 0x14, 0x15,
                         0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x5B, 0x31};
  ASSERT_EQ(Ask(unit, write_3).size(), 8u);
  const Bytes read_3 = {0xA3, 0x0E, 0x00, 0x00, 0x06, 0x03, 0x1E, 0x73};
  EXPECT_EQ(Ask(unit, read_3),
            (Bytes{0x5C, 0x0E, 0x00, 0x00, 0x13, 0x03, 0x11, 0x12, 0x13, 0x14, 0x15,
                   0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x43, 0x0D}));
  // An untouched sub-image answers with its own number and zeros.
  EXPECT_EQ(unit.image(9014, 5), (Bytes{5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const auto log = unit.requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].id, 9013);
  EXPECT_EQ(log[0].param, 3);
  EXPECT_EQ(log[0].payload.size(), 14u);
  EXPECT_EQ(log[1].id, 9014);
  EXPECT_EQ(log[1].param, 3);
}

TEST(Unit, RawMemoryBlocksOfItsTableAreWrittenAndRead) {
  Unit unit(22, 2);
  // The block of 3 bytes at 106.
  const Bytes write = {0xA3, 0x07, 0x00, 0x00, 0x0A, 0x6A, 0x00, 0xAA, 0xBB, 0xCC, 0x89, 0x87};
  EXPECT_EQ(Ask(unit, write), (Bytes{0x5C, 0x07, 0x00, 0x00, 0x06, 0x00, 0x35, 0x31}));
  EXPECT_EQ(unit.memory(106, 3), (Bytes{0xAA, 0xBB, 0xCC}));
  const Bytes read = {0xA3, 0x08, 0x00, 0x00, 0x08, 0x6A, 0x00, 0x03, 0x9C, 0x74};
  EXPECT_EQ(Ask(unit, read),
            (Bytes{0x5C, 0x08, 0x00, 0x00, 0x0A, 0x6A, 0x00, 0xAA, 0xBB, 0xCC, 0x05, 0x68}));
  EXPECT_EQ(unit.requests().back().param, 106);

  // A block the table does not have (3 bytes at 0x0102), or a known address with another
  // length, is refused and changes nothing.
  const Bytes elsewhere = {0xA3, 0x07, 0x00, 0x00, 0x0A, 0x02, 0x01, 0xAA, 0xBB, 0xCC, 0x8F, 0x47};
  EXPECT_TRUE(Ask(unit, elsewhere).empty());
  EXPECT_FALSE(unit.requests().back().length_ok);
  EXPECT_EQ(unit.memory(0x0102, 3), Bytes(3, 0));
  EXPECT_TRUE(Ask(unit, testing::Request(8, {0x6A, 0x00, 0x04})).empty());

  // Blocks beyond the memory are refused by the accessors.
  EXPECT_TRUE(unit.memory(Unit::kRawMemoryBytes - 2, 3).empty());
  EXPECT_FALSE(unit.set_memory(Unit::kRawMemoryBytes - 1, Bytes{1, 2}));
}

TEST(Unit, SilentMessagesAndDamagedOrMisfitRequestsGetNoAnswerButAreLogged) {
  Unit unit(20, 0);
  EXPECT_TRUE(Ask(unit, testing::kCommand9010).empty());
  EXPECT_TRUE(Ask(unit, testing::kKeepAlive9024).empty());
  Bytes damaged = testing::kWrite9005;
  damaged[7] ^= 0x80;
  EXPECT_TRUE(Ask(unit, damaged, false).empty());
  // A read with a payload byte it does not take, and the user write one byte short: sound
  // frames, but not of the length the unit takes for the message.
  EXPECT_TRUE(Ask(unit, {0xA3, 0x06, 0x00, 0x00, 0x06, 0x00, 0x9D, 0xBA}).empty());
  Bytes short_write = {0xA3, 0x05, 0x00, 0x00, 0x1B};
  for (uint8_t b = 0x40; b <= 0x55; ++b)
    short_write.push_back(b);
  short_write.push_back(0x62);
  short_write.push_back(0xC5);
  EXPECT_TRUE(Ask(unit, short_write).empty());

  const auto log = unit.requests();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0].id, 9010);
  EXPECT_TRUE(log[0].length_ok);
  EXPECT_EQ(log[1].id, 9024);
  EXPECT_FALSE(log[2].checksum_ok);
  EXPECT_TRUE(log[3].checksum_ok);
  EXPECT_FALSE(log[3].length_ok);
  EXPECT_FALSE(log[4].length_ok);
  // Neither the damaged nor the short write stored anything.
  EXPECT_EQ(unit.image(9006, 0), Bytes(23, 0));
}

TEST(Unit, EachTypeTakesItsLogoInItsOwnLength) {
  // A type 25 logo: two bytes for each of 47 columns, in a frame of 101.
  Unit unit25(25, 0);
  Bytes logo(94);
  for (size_t i = 0; i < logo.size(); ++i)
    logo[i] = static_cast<uint8_t>(i + 1);
  EXPECT_EQ(Ask(unit25, testing::Request(15, logo)).size(), 8u);
  EXPECT_EQ(unit25.image(9016, 0), logo);

  // Type 31 takes its 47 logo bytes in the code of the identification, told apart by the
  // length, and acknowledges them as a logo; the identification is still answered.
  Unit unit31(31, 0);
  EXPECT_EQ(Ask(unit31, testing::Request(21, Bytes(47, 0x5A))),
            (Bytes{0x5C, 0x0F, 0x00, 0x00, 0x06, 0x00, 0xB6, 0xF2}));
  EXPECT_EQ(unit31.image(9016, 0), Bytes(47, 0x5A));
  EXPECT_EQ(Ask(unit31, testing::kRead9021).size(), 13u);
  // A logo of another type's length is not one it takes.
  EXPECT_TRUE(Ask(unit31, testing::Request(21, logo)).empty());
}

TEST(Unit, ShortFormCarriesTheSerialAreasAndProfilesInHalves) {
  Unit k55t(22, 0);
  // The user write: the code and the 23 bytes of the area; acknowledged with the code and 0.
  Bytes write = {0x05};
  for (uint8_t b = 0x40; b <= 0x56; ++b)
    write.push_back(b);
  EXPECT_EQ(k55t.handle_short_form(write), (Bytes{0x05, 0x00}));
  Bytes read = write;  // the read answers its code and the same area
  read[0] = 0x06;
  EXPECT_EQ(k55t.handle_short_form(Bytes{0x06}), read);
  EXPECT_EQ(Ask(k55t, testing::kRead9006).size(), 30u);
  // A type 23 unit answers the user area one byte short; a request that does not fit gets no
  // answer.
  Unit k65(23, 0);
  EXPECT_EQ(k65.handle_short_form(Bytes{0x06}).size(), 23u);
  EXPECT_TRUE(k55t.handle_short_form(Bytes{0x06, 0x00}).empty());
  EXPECT_FALSE(k55t.requests().back().length_ok);

  // Profile 3 in two halves: its number and 55 bytes, then its number and the last 18. The
  // serial read returns them as one.
  Bytes front = {0x1A, 0x03};
  for (uint8_t i = 0; i < 55; ++i)
    front.push_back(static_cast<uint8_t>(0x10 + i));
  Bytes back = {0x1B, 0x03};
  for (uint8_t i = 0; i < 18; ++i)
    back.push_back(static_cast<uint8_t>(0xA0 + i));
  EXPECT_EQ(k55t.handle_short_form(front), (Bytes{0x1A, 0x00}));
  EXPECT_EQ(k55t.handle_short_form(back), (Bytes{0x1B, 0x00}));
  Bytes profile = {0x03};
  profile.insert(profile.end(), front.begin() + 2, front.end());
  profile.insert(profile.end(), back.begin() + 2, back.end());
  EXPECT_EQ(k55t.image(9018, 3), profile);
  // And read back in halves.
  Bytes front_read = front;
  front_read[0] = 0x1C;
  EXPECT_EQ(k55t.handle_short_form(Bytes{0x1C, 0x03}), front_read);
  Bytes back_read = back;
  back_read[0] = 0x1D;
  EXPECT_EQ(k55t.handle_short_form(Bytes{0x1D, 0x03}), back_read);
}

TEST(Unit, ImagesCanBeSetWithinTheirLength) {
  Unit unit(15, 0);
  EXPECT_TRUE(unit.set_image(9005, 0, Bytes{7, 8}));
  EXPECT_EQ(unit.image(9006, 0)[1], 8);
  EXPECT_FALSE(unit.set_image(9006, 0, Bytes(24, 1)));
  EXPECT_FALSE(unit.set_image(9010, 0, Bytes{1}));  // a command has no image
  EXPECT_TRUE(unit.image(9010, 0).empty());
}

TEST(Unit, EachFaultDoesWhatItSays) {
  Unit unit(23, 0);
  const Bytes& clean = testing::kAnswer9006Zero;

  unit.queue_fault({FaultKind::Noise, 9006});
  auto answer = Ask(unit, testing::kRead9006);
  ASSERT_EQ(answer.size(), clean.size() + 4);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NE(answer[i], 0x5C);
    EXPECT_NE(answer[i], 0x5D);
  }
  EXPECT_EQ(Bytes(answer.begin() + 4, answer.end()), clean);

  unit.queue_fault({FaultKind::Start5D, 9006});
  answer = Ask(unit, testing::kRead9006);
  EXPECT_EQ(answer[0], 0x5D);
  EXPECT_EQ(Bytes(answer.begin() + 1, answer.end()), Bytes(clean.begin() + 1, clean.end()));

  unit.queue_fault({FaultKind::FlippedBit, 9006});
  answer = Ask(unit, testing::kRead9006);
  Bytes flipped = clean;
  flipped[5] ^= 0x01;
  EXPECT_EQ(answer, flipped);

  unit.queue_fault({FaultKind::WrongCode, 9006});
  Bytes wrong = clean;
  wrong[1] = 0x46;
  wrong[28] = 0x74;
  wrong[29] = 0x8D;
  EXPECT_EQ(Ask(unit, testing::kRead9006), wrong);

  unit.queue_fault({FaultKind::NoAnswer, 9006});
  EXPECT_TRUE(Ask(unit, testing::kRead9006).empty());

  // Each fault was used once; the next answer is clean again.
  EXPECT_EQ(Ask(unit, testing::kRead9006), clean);
}

TEST(Unit, FaultsWaitForTheirMessageAndSilenceLasts) {
  Unit unit(21, 0);
  unit.queue_fault({FaultKind::NoAnswer, 9006});
  EXPECT_EQ(Ask(unit, testing::kRead9021).size(), 13u);  // another message is not hit
  EXPECT_TRUE(Ask(unit, testing::kRead9006).empty());

  unit.queue_fault(Fault::Silence());
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Ask(unit, testing::kRead9021).empty());
    EXPECT_TRUE(Ask(unit, testing::kWrite9005).empty());
  }
  // The silent unit still heard every request, and stored the writes.
  EXPECT_EQ(unit.requests().size(), 8u);
  EXPECT_EQ(unit.image(9006, 0).front(), 0x40);

  unit.clear_faults();
  EXPECT_EQ(Ask(unit, testing::kRead9021).size(), 13u);
}

}  // namespace
}  // namespace quibra::sim

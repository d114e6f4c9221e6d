// User settings: checks and defaults, the 9005 image against hand-worked bytes, the unpacking
// of a received image, and the whole Send / Read over a simulated unit, by sound and through
// the data file.
#include "settings/user_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frame/state_flags.h"
#include "protocol/seal.h"
#include "settings/name_fix.h"
#include "settings_test_support.h"
#include "transfer/send_unit_message.h"

namespace quibra::testing {
namespace {

// The 9005 payload (bytes 5..27) of the sample below, worked out by hand.
const Bytes kSampleImage = {
    0x27,                                      // A0, A1, A2 and bit 5 (A5Off clear)
    0x0A,                                      // B1, B3
    0x21,                                      // choices 2 and 1
    80,   182,  0x15, 0x80, 0x26, 50,   185,   // weight, height, day, year, level|month, ..
    0x61,                                      // pound digit 6, sex 1
    0x17, 0x60, 0x12,                          // 17 tens of pounds, 6 ft 0 in, user 12
    0x0B, 0x30, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,  // "Al" and five device spaces
    99,   0x00};

class UserSettingsTest : public SettingsTest {
 protected:
  // A user born 1980-06-15, 80 kg, 182 cm, named "Al", with a mix of option bits.
  static UserSettings Sample() {
    UserSettings r{};
    r.Size = 136;
    r.BirthDate = 19800615;
    r.Level = 2;
    r.MaxHR = 185;
    r.VO2max = 50;
    r.Sex = 1;
    r.WeightKg = 80;
    r.HeightCm = 182;
    std::strcpy(r.Name, "Al");
    r.UserNumber = 12;
    r.OptionA0 = 1;
    r.OptionA1 = 1;
    r.OptionB3 = 1;
    r.OptionB1 = 1;
    r.ChoiceHigh = 2;
    r.ChoiceLow = 1;
    r.PlainValue = 99;
    return r;
  }
};

TEST_F(UserSettingsTest, PreparePacksTheHandWorkedImage) {
  UserSettings r = Sample();
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  // Completed in place: pounds from kilograms, feet and inches from centimetres (5 ft 12 in
  // carried to 6 ft 0 in), OptionA2 forced by OptionA1.
  EXPECT_EQ(r.WeightLb, 176);
  EXPECT_EQ(r.HeightFeet, 6);
  EXPECT_EQ(r.HeightInches, 0);
  EXPECT_EQ(r.OptionA2, 1);
  EXPECT_EQ(ImageBytes(9005, 0, 5, 27), kSampleImage);
  // Sealed: the checksum over the image closes it.
  const Bytes image = SentImage(9005, 0);
  ASSERT_EQ(image.size(), 30u);
  EXPECT_EQ(image[4], 28);
  const Bytes before = image;
  ASSERT_EQ(protocol::SealMessageImage(9005, 0, 0), 1);
  EXPECT_EQ(SentImage(9005, 0), before);
}

TEST_F(UserSettingsTest, BcdValueAndTheNameFix) {
  UserSettings r = Sample();
  r.BcdValueOn = 1;
  r.BcdValue = 1234;
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(protocol::GetMessageByte(9005, 0, 5), 0x37);  // bit 4 follows BcdValueOn
  EXPECT_EQ(ImageBytes(9005, 0, 19, 20), (Bytes{0x0B, 0x30}));
  EXPECT_EQ(ImageBytes(9005, 0, 26, 27), (Bytes{0xC3, 0x04}));  // BCD of 123 (low byte), 4
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 1), 1);
  EXPECT_EQ(ImageBytes(9005, 0, 19, 20), (Bytes{0xC3, 0x04}));

  // BcdValueOn with a zero value goes in the plain mode.
  r = Sample();
  r.BcdValueOn = 1;
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 1), 1);
  EXPECT_EQ(r.BcdValueOn, 0);
  EXPECT_EQ(protocol::GetMessageByte(9005, 0, 5), 0x27);
  EXPECT_EQ(ImageBytes(9005, 0, 19, 20), (Bytes{0x0B, 0x30}));
  EXPECT_EQ(ImageBytes(9005, 0, 26, 27), (Bytes{99, 0}));
}

TEST_F(UserSettingsTest, DefaultsAndConversions) {
  UserSettings r = Sample();
  r.BirthDate = 19100615;  // before 1921: moved to 1921
  r.Level = 7;
  r.VO2max = 5;
  r.UserNumber = 100;
  r.PlainValue = 151;
  r.ChoiceHigh = 4;
  r.ChoiceLow = 3;
  r.BcdValue = 10001;
  r.WeightLb = 154;
  r.WeightKg = 0;
  r.HeightCm = 0;
  r.HeightFeet = 5;
  r.HeightInches = 8;
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(r.BirthDate, 19210615);
  EXPECT_EQ(r.Level, 1);
  EXPECT_EQ(r.VO2max, 36);  // Sex 1
  EXPECT_EQ(r.UserNumber, 1);
  EXPECT_EQ(r.PlainValue, 4);
  EXPECT_EQ(r.ChoiceHigh, 0);
  EXPECT_EQ(r.ChoiceLow, 0);
  EXPECT_EQ(r.BcdValue, 0);
  EXPECT_EQ(r.WeightKg, 70);   // 154 x 0.4536 = 69.85
  EXPECT_EQ(r.HeightCm, 172);  // 152 + 20
  EXPECT_EQ(ImageBytes(9005, 0, 10, 12), (Bytes{0x15, 0x21, 0x16}));

  r = Sample();
  r.Sex = 0;
  r.VO2max = 96;
  r.WeightKg = 10;
  r.HeightCm = 220;
  r.WeightLb = 0;
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(r.VO2max, 45);
  EXPECT_EQ(r.WeightKg, 70);
  EXPECT_EQ(r.WeightLb, 154);  // 70 / 0.4536 = 154.3
  EXPECT_EQ(r.HeightCm, 170);
  EXPECT_EQ(r.HeightFeet, 5);
  EXPECT_EQ(r.HeightInches, 7);  // 1.70 m - 5 ft = 0.176 m = 6.9 in
  r.WeightLb = 500;
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(r.WeightLb, 140);
  EXPECT_EQ(r.WeightKg, 64);  // 63.5
}

TEST_F(UserSettingsTest, MaxHeartRateFromTheAgeOnToday) {
  UserSettings r = Sample();
  r.MaxHR = 0;
  set_today(2024, 1, 1);  // before the birthday
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(r.MaxHR, 175);
  r.MaxHR = 241;
  set_today(2024, 7, 1);
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(r.MaxHR, 176);
  r.MaxHR = 99;
  set_today(2024, 6, 15);  // the birthday itself
  ASSERT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(r.MaxHR, 176);
  EXPECT_EQ(protocol::GetMessageByte(9005, 0, 14), 176);
}

TEST_F(UserSettingsTest, EveryFailingCheckLeavesTheImageUntouched) {
  for (int32_t i = 5; i <= 27; ++i)
    protocol::SetMessageByte(9005, 0, i, 0xEE);
  protocol::SealMessageImage(9005, 0, 0);
  const Bytes before = SentImage(9005, 0);
  struct Case {
    const char* what;
    void (*spoil)(UserSettings&);
  };
  const Case cases[] = {
      {"size 0", [](UserSettings& r) { r.Size = 0; }},
      {"born 1899", [](UserSettings& r) { r.BirthDate = 18991231; }},
      {"no such day", [](UserSettings& r) { r.BirthDate = 19810229; }},
      {"born 2021", [](UserSettings& r) { r.BirthDate = 20210101; }},
      {"underscore in the name", [](UserSettings& r) { std::strcpy(r.Name, "A_b"); }},
      {"sex 2", [](UserSettings& r) { r.Sex = 2; }},
      {"option A3 -1", [](UserSettings& r) { r.OptionA3 = -1; }},
      {"option A4 2", [](UserSettings& r) { r.OptionA4 = 2; }},
      {"option B1 2", [](UserSettings& r) { r.OptionB1 = 2; }},
      {"BcdValueOn 2", [](UserSettings& r) { r.BcdValueOn = 2; }},
  };
  for (const Case& c : cases) {
    UserSettings r = Sample();
    c.spoil(r);
    EXPECT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 0) << c.what;
    EXPECT_EQ(SentImage(9005, 0), before) << c.what;
  }
  // A name as long as the field, without a terminator, is checked within the field only.
  UserSettings r = Sample();
  std::memset(r.Name, 'x', sizeof r.Name);
  EXPECT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);
  EXPECT_EQ(fnQuibra_PrepareUserSettings(nullptr, 0, 0), 0);
}

TEST_F(UserSettingsTest, UnPackReadsTheImageOneByteLater) {
  // A received 9006 image, worked out by hand: born 1955-03-09, level 3, 95 kg = 209 lb,
  // 5 ft 11 in, user 7, name "Bo", BCD value 47.
  const Bytes payload = {0x1F, 0x05, 0x32, 95,   180,  0x09, 0x55, 0x33, 60,   190,  0x90, 0x20,
                         0x5B, 0x07, 0x0C, 0x33, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x04, 0x07};
  for (size_t i = 0; i < payload.size(); ++i)
    protocol::SetMessageByte(9006, 0, static_cast<int32_t>(6 + i), payload[i]);
  UserSettings r;
  std::memset(&r, 0x55, sizeof r);
  ASSERT_EQ(fnQuibra_UnPackUserSettings(0, &r), 1);
  // Size, born, level, max HR, -, VO2max, sex, kg, lb, cm, ft, in, name, user, A0..A3,
  // B0, B3, B2, B1, BcdValueOn, choices, plain value, A4, BCD value, A5Off.
  const UserSettings expected = {136, 19550309, 3, 190, 0, 60, 0, 95, 209, 180, 5, 11, "Bo", 7, 1,
                                 1,   1,        1, 1,   0, 1,  0, 1,  3,   2,   4, 1,  47,   1};
  EXPECT_TRUE(SameRecord(r, expected));

  // A year below 21 is of this century; a zero value byte leaves both values 0.
  protocol::SetMessageByte(9006, 0, 12, 0x05);
  protocol::SetMessageByte(9006, 0, 27, 0x00);
  ASSERT_EQ(fnQuibra_UnPackUserSettings(0, &r), 1);
  EXPECT_EQ(r.BirthDate, 20050309);
  EXPECT_EQ(r.PlainValue, 0);
  EXPECT_EQ(r.BcdValue, 0);

  // Over infrared a type 22 unit of variant 3 keeps the record as it is, unless IrDA sockets
  // are in use.
  detect(22, 3);
  UserSettings kept = r;
  kept.MaxHR = 1;
  UserSettings same = kept;
  ASSERT_EQ(fnQuibra_UnPackUserSettings(1, &same), 1);
  EXPECT_TRUE(SameRecord(same, kept));
  frame::SetStateFlag(frame::kFlagIrdaSockets, 1);
  ASSERT_EQ(fnQuibra_UnPackUserSettings(1, &same), 1);
  EXPECT_EQ(same.MaxHR, 190);
}

TEST_F(UserSettingsTest, ResetFillsTheDefaults) {
  UserSettings r;
  std::memset(&r, 0x77, sizeof r);
  EXPECT_EQ(fnQuibra_ResetUserSettings(&r), &r);
  const UserSettings defaults = {136, 19700101, 3, 200, 0, 45, 0, 70, 0, 182, 0, 0, "Orvek", 1, 1,
                                 1,   1,        0, 0,   0, 1,  0, 0,  0, 0,   4, 0, 0,       0};
  EXPECT_TRUE(SameRecord(r, defaults));
  EXPECT_EQ(fnQuibra_PrepareUserSettings(&r, 0, 0), 1);  // the defaults pass the checks
}

// Send and Read give back the record as Prepare completed it. The two value fields share the
// image's last bytes: in the plain mode BcdValue reads back as the BCD reading of that byte.
TEST_F(UserSettingsTest, RoundTripThroughASimulatedUnit) {
  ASSERT_TRUE(start_unit(23));
  UserSettings sent = Sample();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendUserSettings(&p, &sent), 1);
  EXPECT_EQ(last_write(9005).payload, kSampleImage);

  UserSettings got{};
  ASSERT_EQ(fnQuibra_ReadUserSettings(&p, &got), 1);
  UserSettings expected = sent;
  expected.BcdValue = 630;  // 0x63 read as BCD: 63, times ten
  EXPECT_TRUE(SameRecord(got, expected));
  EXPECT_EQ(fnQuibra_GetErrorCode(), -1);

  // The unit's maximum heart rate, read silently.
  EXPECT_EQ(settings::ReadUnitMaxHR(22), 185);
  EXPECT_EQ(settings::ReadUnitMaxHR(12), 0);
  EXPECT_GE(requests_for(9006).size(), 2u);
}

TEST_F(UserSettingsTest, ReadFailsWithoutAnAnswerAndKeepsTheRecord) {
  ASSERT_TRUE(start_unit(22));
  unit_->queue_fault(sim::Fault::Silence());
  UserSettings r = Sample();
  const UserSettings before = r;
  CommParams p = infrared();
  EXPECT_EQ(fnQuibra_ReadUserSettings(&p, &r), 0);
  EXPECT_TRUE(SameRecord(r, before));
  EXPECT_EQ(fnQuibra_SendUserSettings(&p, &r), 0);
}

TEST_F(UserSettingsTest, BySoundTheBcdValueIsFollowedByTheNameFix) {
  UserSettings r = Sample();
  r.BcdValueOn = 1;
  r.BcdValue = 1234;
  CommParams p = sound();
  ASSERT_EQ(fnQuibra_SendUserSettings(&p, &r), 1);
  ASSERT_EQ(speaker_.heard.size(), 2u);
  // The settings carry the value in the name bytes; block 51 of a type 22 unit (address 139,
  // two bytes) then gets the name's first two characters.
  EXPECT_EQ(Bytes(speaker_.heard[0].begin() + 21, speaker_.heard[0].begin() + 23),
            (Bytes{0xC3, 0x04}));
  const Bytes block = {0, 0, 0xA3, 0x07, 0x00, 0x00, 0x09, 139, 0, 0x0B, 0x30};
  ASSERT_EQ(speaker_.heard[1].size(), 15u);
  EXPECT_EQ(Bytes(speaker_.heard[1].begin(), speaker_.heard[1].begin() + 11), block);
  EXPECT_EQ(m().unit.type.load(), 22);
}

TEST_F(UserSettingsTest, Variant3UnitsGetTheNameFixOverInfrared) {
  ASSERT_TRUE(start_unit(22, 3));
  detect(22, 3);
  UserSettings r = Sample();
  r.BcdValueOn = 1;
  r.BcdValue = 1234;
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendUserSettings(&p, &r), 1);
  EXPECT_EQ(last_write(9005).payload.at(14), 0xC3);  // byte 19: the value in the first name byte
  EXPECT_EQ(unit_->memory(139, 2), (Bytes{0x0B, 0x30}));

  // Without a BCD value no block is written.
  unit_->clear_requests();
  r = Sample();
  ASSERT_EQ(fnQuibra_SendUserSettings(&p, &r), 1);
  EXPECT_TRUE(requests_for(9007).empty());
}

TEST_F(UserSettingsTest, RoundTripThroughTheDataFile) {
  UserSettings sent = Sample();
  sent.BcdValueOn = 1;
  sent.BcdValue = 1234;
  CommParams p = write_file();
  ASSERT_EQ(fnQuibra_SendUserSettings(&p, &sent), 1);
  EXPECT_TRUE(speaker_.heard.empty());  // neither sound nor name fix
  EXPECT_EQ(ImageBytes(9005, 0, 19, 20), (Bytes{0x0B, 0x30}));

  for (int32_t i = 5; i < 30; ++i)
    protocol::SetMessageByte(9005, 0, i, 0);
  UserSettings got{};
  p = read_file();
  ASSERT_EQ(fnQuibra_SendUserSettings(&p, &got), 1);
  UserSettings expected = sent;
  expected.PlainValue = 0xC3;
  expected.OptionA4 = 1;  // bit 4 carries both
  EXPECT_TRUE(SameRecord(got, expected));

  std::remove(data_file().c_str());
  EXPECT_EQ(fnQuibra_SendUserSettings(&p, &got), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
}

}  // namespace
}  // namespace quibra::testing

// The VCQ units: the dated distance totals in the raw memory block of message 9035 and the
// exercise settings of message 9079, against hand-worked bytes, by sound and data file.
#include "settings/vcq.h"

#include <gtest/gtest.h>

#include <cstring>

#include "settings_test_support.h"

namespace quibra::testing {
namespace {

class VcqTest : public SettingsTest {
 protected:
  static VcqExerciseSettings Sample() {
    VcqExerciseSettings r{};
    r.VcqUnitType = 29;
    r.VcqTimer1On = 1;
    r.VcqTimer1 = 4000;
    r.VcqTimer2 = 3;  // off, so out of range takes the default
    r.VcqMode = 2;
    r.VcqUpperLimit = 170;
    r.VcqLowerLimit = 20;  // out of range: the default
    r.VcqFlag3 = 1;
    r.VcqBit0 = 1;
    r.VcqBit2 = 1;
    r.VcqBit5 = 7;  // sent as 1
    r.VcqNibble0 = 1;
    r.VcqNibble1 = 2;
    r.VcqNibble2 = 3;
    r.VcqNibble3 = 4;
    r.VcqNibble4 = 5;
    r.VcqNibble5 = 0x16;  // the low 4 bits go
    return r;
  }
};

// Bytes 5..16 of the sample's 9079 image, worked out by hand.
const Bytes kSampleImage = {
    0x01,        // timer 1 on
    0x40, 0x66,  // 4000 s: 66 minutes 40 seconds
    0x00, 0x02,  // 120 s
    0x0A,        // mode 2, flag 3
    0x50, 0xAA,  // lower 80, upper 170
    0x25,        // bits 0, 2 and 5
    0x21, 0x43, 0x65,
};

TEST_F(VcqTest, TotalsGoAsThreeDatedGroupsBehindThePageByte) {
  CommParams p = sound();
  // 123456 + 900000 is cut to 999999; 15 March 2024 packs as 0x586F, low byte first.
  ASSERT_EQ(fnQuibra_SendBikesSettingsVCQ(&p, 29, 123456, 900000, 20240315), 1);
  const Bytes expected = {
      0xA0,                                            // page 160
      0xCC, 0x00,                                      // address 204
      0x99, 0x99, 0x99, 0x00, 0x00, 0x00, 0x6F, 0x58,  // the sum, cut
      0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x6F, 0x58,  // total 1
      0x00, 0x00, 0x90, 0x00, 0x00, 0x00, 0x6F, 0x58,  // total 2
  };
  EXPECT_EQ(ImageBytes(9035, 59, 5, 31), expected);
  const Bytes image = SentImage(9035, 59);
  ASSERT_EQ(image.size(), 34u);
  ASSERT_EQ(speaker_.heard.size(), 1u);
  EXPECT_EQ(speaker_.heard[0], Padded(image));
  EXPECT_EQ(m().unit.type.load(), 29);

  // Type 31 has the same area; a date the two bytes cannot hold goes as 0 0.
  ASSERT_EQ(fnQuibra_SendBikesSettingsVCQ(&p, 31, 5, 10, 19791231), 1);
  EXPECT_EQ(ImageBytes(9035, 59, 8, 15), (Bytes{0x15, 0x00, 0x00, 0, 0, 0, 0x00, 0x00}));
  EXPECT_EQ(ImageBytes(9035, 59, 16, 16), Bytes{0x05});

  // Nothing goes out for a total out of range or a unit without the area.
  EXPECT_EQ(fnQuibra_SendBikesSettingsVCQ(&p, 29, 1000000, 0, 20240315), 0);
  EXPECT_EQ(fnQuibra_SendBikesSettingsVCQ(&p, 29, 0, -1, 20240315), 0);
  EXPECT_EQ(fnQuibra_SendBikesSettingsVCQ(&p, 30, 1, 1, 20240315), 0);
  EXPECT_EQ(speaker_.heard.size(), 2u);
}

TEST_F(VcqTest, ExerciseSettingsPackTheHandWorkedImageAndComeBackFromTheDataFile) {
  VcqExerciseSettings r = Sample();
  CommParams p = sound();
  ASSERT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &r), 1);
  EXPECT_EQ(ImageBytes(9079, 0, 5, 16), kSampleImage);
  ASSERT_EQ(speaker_.heard.size(), 1u);
  EXPECT_EQ(speaker_.heard[0], Padded(SentImage(9079, 0)));
  EXPECT_EQ(SentImage(9079, 0).size(), 19u);
  // Completed in place.
  EXPECT_EQ(r.VcqTimer2, 120);
  EXPECT_EQ(r.VcqLowerLimit, 80);
  EXPECT_EQ(r.VcqBit5, 1);
  EXPECT_EQ(r.VcqNibble5, 6);

  // Over infrared these units take nothing: 1 without a transfer, but the image is packed.
  r = Sample();
  r.VcqTimer1 = 65;
  p = infrared();
  ASSERT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &r), 1);
  EXPECT_EQ(speaker_.heard.size(), 1u);
  EXPECT_EQ(ImageBytes(9079, 0, 6, 7), (Bytes{0x05, 0x01}));

  // Through the data file: nothing is played, and what was written comes back.
  r = Sample();
  p = write_file();
  ASSERT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &r), 1);
  EXPECT_EQ(speaker_.heard.size(), 1u);
  VcqExerciseSettings loaded;
  std::memset(&loaded, 0x44, sizeof loaded);  // not checked before the file is read
  p = read_file();
  ASSERT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &loaded), 1);
  VcqExerciseSettings expected = r;
  expected.VcqUnitType = 0;  // not in the image
  expected.VcqMode = 1;      // either mode bit reads as 1
  EXPECT_TRUE(SameRecord(loaded, expected));
  EXPECT_EQ(ImageBytes(9079, 0, 6, 17), kSampleImage);
}

TEST_F(VcqTest, EveryFailingCheckSendsNothing) {
  VcqExerciseSettings good = Sample();
  CommParams p = sound();
  ASSERT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &good), 1);
  const Bytes before = SentImage(9079, 0);
  struct Case {
    const char* what;
    void (*spoil)(VcqExerciseSettings&);
  };
  const Case cases[] = {
      {"unit type 30", [](VcqExerciseSettings& r) { r.VcqUnitType = 30; }},
      {"timer 2 on is 2", [](VcqExerciseSettings& r) { r.VcqTimer2On = 2; }},
      {"timer 1 of 4 s while on", [](VcqExerciseSettings& r) { r.VcqTimer1 = 4; }},
      {"timer 2 of 6000 s while on",
       [](VcqExerciseSettings& r) {
         r.VcqTimer2On = 1;
         r.VcqTimer2 = 6000;
       }},
      {"mode 3", [](VcqExerciseSettings& r) { r.VcqMode = 3; }},
      {"percent flag 2", [](VcqExerciseSettings& r) { r.VcqLimitsInPercent = 2; }},
      {"percent upper 120",
       [](VcqExerciseSettings& r) {
         r.VcqLimitsInPercent = 1;
         r.VcqUpperLimit = 120;
         r.VcqLowerLimit = 60;
       }},
      {"lower above upper", [](VcqExerciseSettings& r) { r.VcqLowerLimit = 171; }},
  };
  for (const Case& c : cases) {
    VcqExerciseSettings r = Sample();
    c.spoil(r);
    EXPECT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &r), 0) << c.what;
    EXPECT_EQ(fnQuibra_GetErrorCode(), -1) << c.what;
    EXPECT_EQ(SentImage(9079, 0), before) << c.what;
  }
  EXPECT_EQ(speaker_.heard.size(), 1u);

  // Limits in percent pass as they are, equal limits too.
  VcqExerciseSettings r = Sample();
  r.VcqLimitsInPercent = 1;
  r.VcqUpperLimit = 85;
  r.VcqLowerLimit = 85;
  ASSERT_EQ(fnQuibra_VCQ_SendExerciseSettings(&p, &r), 1);
  EXPECT_EQ(ImageBytes(9079, 0, 10, 12), (Bytes{0x0E, 85, 85}));
}

}  // namespace
}  // namespace quibra::testing

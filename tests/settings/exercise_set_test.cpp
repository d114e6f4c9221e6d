// Exercise sets: the checks strict and lenient, distances, time windows, both layouts against
// hand-worked bytes, and Send / Read over a simulated unit and through the data file.
#include "settings/exercise_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "settings_test_support.h"

namespace quibra::testing {
namespace {

class ExerciseSetTest : public SettingsTest {
 protected:
  // Set 2 "Hill": two timers, three limit pairs (the third out of range), repetition by
  // distance, recovery by distance given in miles, the further fields and four windows.
  static ExerciseSet Sample() {
    ExerciseSet r{};
    r.Size = 216;
    r.SetNumber = 2;
    std::memcpy(r.SetName, "Hill", 4);
    r.Timer1On = 1;
    r.Timer1 = 90;
    r.Timer2On = 1;
    r.Timer2 = 3599;
    r.Limits1On = 1;
    r.Upper1 = 170;
    r.Lower1 = 150;
    r.Upper2 = 160;
    r.Lower2 = 160;  // equal limits pass
    r.Limits3On = 1;
    r.Upper3 = 250;
    r.Lower3 = 20;
    r.RepeatOn = 1;
    r.RepeatMode = 3;
    r.RepeatCount = 12;
    r.RepeatLevel = 5;  // out of range, but the repetition does not end by heart rate
    r.RepeatDistanceKm = 123;
    r.RecoveryOn = 1;
    r.RecoveryMode = 2;
    r.RecoveryTime = 75;
    r.RecoveryLevel = 130;
    r.RecoveryDistanceMi = 31;
    r.ExtraLow = 2;
    r.ExtraBit = 1;
    r.ExtraByteB = 240;
    r.ExtraByteA = 30;
    const int32_t pairs[8] = {60, 80, 61, 81, 62, 82, 63, 83};
    std::memcpy(r.ExtraPairs, pairs, sizeof pairs);
    r.Window1Start = 420;
    r.Window1End = 480;
    r.Window2Start = 300;
    r.Window2End = 600;
    r.Window4Start = 1380;
    r.Window4End = 1439;
    return r;
  }
  static CommParams Lenient(CommParams p) {
    p.LenientChecks = 1;
    return p;
  }
};

// Bytes 5..60 of the sample's image, worked out by hand.
const Bytes kSampleImage = {
    0x02,                                      // set 2, no option
    0x12, 0x2D, 0x30, 0x30, 0x0A, 0x0A, 0x0A,  // "Hill"
    0x30, 0x01, 0x59, 0x59, 0x00, 0x02,        // 1:30, 59:59, 2:00
    0x96, 0xAA, 0xA0, 0xA0, 0x50, 0xA0,        // 150/170, 160/160, 80/160
    0x15, 0x01, 0x82, 0x96, 0x12,              // recovery 1:15 and 130, repeat 150, 12 times
    0x23,                                      // recovery mode 2, repeat mode 3
    0xDB,                                      // timers 1, 2, recovery, limits 1, 3, repeat
    0x23, 0x01, 0x05,                          // 12.3 km and 5.0 km
    0x76, 0x10, 0x03,                          // 7.6 mi and 3.1 mi
    0x12,                                      // ExtraBit, ExtraLow 2
    0x3C, 0x50, 0x3D, 0x51, 0x3E, 0x52, 0x3F,
    0x53, 0x1E, 0xF0, 0x07, 0x30, 0x30,  // 420..480: 07:30, half-width 30
    0x06, 0x00, 0x60,                    // 300..600: half-width cut to 60, centre 06:00
    0x00, 0x00, 0x00,                    //
    0x23, 0x30, 0x30,                    // 1380..1439: 29.5 rounds to 30
};

TEST_F(ExerciseSetTest, PreparePacksTheHandWorkedImageInBothLayouts) {
  ExerciseSet r = Sample();
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(ImageBytes(9068, 2, 5, 60), kSampleImage);
  EXPECT_EQ(SentImage(9068, 2).size(), 63u);
  // Completed in place.
  EXPECT_EQ(r.Timer3, 120);
  EXPECT_EQ(r.Upper3, 160);
  EXPECT_EQ(r.Lower3, 80);
  EXPECT_EQ(r.RepeatLevel, 150);
  EXPECT_EQ(r.RepeatDistanceMi, 76);
  EXPECT_EQ(r.RecoveryDistanceKm, 50);

  // The older layout carries the same bytes; its checksum closes it at bytes 38 and 39.
  r = Sample();
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 0), 1);
  const Bytes image = SentImage(9003, 2);
  ASSERT_EQ(image.size(), 40u);
  EXPECT_EQ(Bytes(image.begin() + 5, image.begin() + 38),
            Bytes(kSampleImage.begin(), kSampleImage.begin() + 33));
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 2), 0);

  // Window ends and the extra fields are packed unchecked: the extremes pack without overflow,
  // the window no wider than the unit keeps (60 minutes on each side of its centre).
  r = Sample();
  r.Window1Start = INT32_MIN;
  r.Window1End = INT32_MAX;
  r.ExtraBit = INT32_MAX;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(ImageBytes(9068, 2, 51, 51), Bytes{0x60});
}

TEST_F(ExerciseSetTest, TimersAndLevelsStrictAndLenient) {
  ExerciseSet r = Sample();
  r.RepeatOn = 0;
  r.Timer1On = 0;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 0);  // timer 2 on after timer 1 off
  r.RepeatOn = 1;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  r = Sample();
  r.RepeatOn = 0;
  r.Timer2On = 0;
  r.Timer3On = 1;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 0);

  r = Sample();
  r.Timer1 = 3;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 0);
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 1);
  EXPECT_EQ(r.Timer1, 120);

  r = Sample();
  r.RepeatMode = 2;
  r.RepeatLevel = 241;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 0);
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 1);
  EXPECT_EQ(r.RepeatLevel, 150);

  r = Sample();
  r.RecoveryMode = 1;
  r.RecoveryLevel = 9;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 0);
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 1);
  EXPECT_EQ(r.RecoveryLevel, 140);
}

TEST_F(ExerciseSetTest, RepetitionRecoveryAndDistances) {
  ExerciseSet r = Sample();
  r.RepeatDistanceKm = 50;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RepeatDistanceMi, 31);
  r.RepeatDistanceKm = 2000;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RepeatDistanceKm, 999);
  EXPECT_EQ(r.RepeatDistanceMi, 999);
  r.RepeatDistanceKm = -5;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RepeatDistanceKm, 16);
  EXPECT_EQ(r.RepeatDistanceMi, 10);

  // Repeating by distance needs one.
  r = Sample();
  r.RepeatDistanceKm = 0;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 0);
  // Repeating by the second timer switches it on; without repetition the mode is cleared.
  r = Sample();
  r.RepeatMode = 1;
  r.Timer2On = 0;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.Timer2On, 1);
  r = Sample();
  r.RepeatOn = 0;
  r.RepeatMode = 3;
  r.RepeatCount = 31;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RepeatMode, 0);
  EXPECT_EQ(r.RepeatCount, 1);

  // Recovery by time under 5 s, and by distance without one: fail while on, else defaults.
  r = Sample();
  r.RecoveryMode = 0;
  r.RecoveryTime = 3;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 0);
  r.RecoveryOn = 0;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RecoveryTime, 60);
  r = Sample();
  r.RecoveryDistanceMi = 0;
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 0);
  r.RecoveryOn = 0;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RecoveryDistanceKm, 16);
  EXPECT_EQ(r.RecoveryDistanceMi, 10);
  r = Sample();
  r.RecoveryMode = 3;
  r.RecoveryTime = 6000;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.RecoveryMode, 0);
  EXPECT_EQ(r.RecoveryTime, 120);
}

TEST_F(ExerciseSetTest, NumberLimitsAndPercentMode) {
  ExerciseSet r = Sample();
  r.SetNumber = 6;
  r.Size = 0;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.SetNumber, 1);
  EXPECT_EQ(r.Size, 216);
  r = Sample();
  r.SetNumber = 0;
  r.SetOption = 1;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(r.SetNumber, 0);
  r = Sample();
  r.SetNumber = 4;
  r.SetOption = 1;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(protocol::GetMessageByte(9068, 4, 5), 0x44);

  r = Sample();
  r.LimitsInPercent = 1;
  r.PercentBase = 200;
  r.Upper1 = 80;
  r.Lower1 = 60;
  r.Upper2 = r.Lower2 = 75;
  r.Upper3 = 100;
  r.Lower3 = 50;
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);
  EXPECT_EQ(ImageBytes(9068, 2, 19, 24), (Bytes{120, 160, 150, 150, 100, 200}));
  EXPECT_EQ(r.Upper1, 160);
}

TEST_F(ExerciseSetTest, EveryFailingCheckLeavesTheImageUntouched) {
  ExerciseSet good = Sample();
  ASSERT_EQ(fnQuibra_PrepareExerciseSet(&good, 0, 0, 1), 1);
  const Bytes before = SentImage(9068, 2);
  struct Case {
    const char* what;
    void (*spoil)(ExerciseSet&);
  };
  const Case cases[] = {
      {"option 2", [](ExerciseSet& r) { r.SetOption = 2; }},
      {"underscore", [](ExerciseSet& r) { r.SetName[0] = '_'; }},
      {"timer 3 on 2", [](ExerciseSet& r) { r.Timer3On = 2; }},
      {"limits 2 on -1", [](ExerciseSet& r) { r.Limits2On = -1; }},
      {"lower above upper", [](ExerciseSet& r) { r.Lower1 = 171; }},
      {"percent base 90",
       [](ExerciseSet& r) {
         r.LimitsInPercent = 1;
         r.PercentBase = 90;
       }},
      {"repeat on 2", [](ExerciseSet& r) { r.RepeatOn = 2; }},
      {"recovery on 2", [](ExerciseSet& r) { r.RecoveryOn = 2; }},
  };
  for (const Case& c : cases) {
    ExerciseSet r = Sample();
    c.spoil(r);
    EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 1, 1), 0) << c.what;
    EXPECT_EQ(SentImage(9068, 2), before) << c.what;
  }
}

TEST_F(ExerciseSetTest, ResetByMonitorType) {
  ExerciseSet r;
  std::memset(&r, 0x66, sizeof r);
  EXPECT_EQ(fnQuibra_ResetExerciseSet(3, &r, 0, 22), &r);
  EXPECT_EQ(r.Size, 216);
  EXPECT_EQ(r.SetNumber, 3);
  EXPECT_EQ(r.SetOption, 1);
  EXPECT_EQ(std::memcmp(r.SetName, "ExeSet3\0", 8), 0);
  EXPECT_EQ(r.Timer1 + r.Timer2 + r.Timer3, 1500);
  EXPECT_EQ(r.Upper2, 180);
  EXPECT_EQ(r.Lower3, 90);
  EXPECT_EQ(r.RepeatOn, 1);
  EXPECT_EQ(r.RepeatLevel, 170);
  EXPECT_EQ(r.RecoveryTime, 60);
  EXPECT_EQ(r.ExtraBit, 1);
  EXPECT_EQ(r.ExtraByteB, 240);
  EXPECT_EQ(r.ExtraByteA, 30);
  EXPECT_EQ(r.ExtraPairs[6], 60);
  EXPECT_EQ(r.ExtraPairs[7], 80);
  EXPECT_EQ(r.Window4End, 0);
  EXPECT_EQ(fnQuibra_PrepareExerciseSet(&r, 0, 0, 1), 1);  // the defaults pass the checks
  EXPECT_EQ(r.RepeatDistanceMi, 6);

  fnQuibra_ResetExerciseSet(3, &r, 0, 13);
  EXPECT_EQ(r.SetNumber, 1);
  EXPECT_EQ(r.RepeatOn, 0);
  EXPECT_EQ(r.ExtraByteB, 0);
  EXPECT_EQ(r.ExtraPairs[0], 0);
}

TEST_F(ExerciseSetTest, NewerLayoutRoundTripsThroughASimulatedUnitAndTheDataFile) {
  ASSERT_TRUE(start_unit(22));
  ExerciseSet sent = Sample();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendExerciseSet(&p, &sent, 1), 1);
  EXPECT_EQ(last_write(9068).param, 2);
  EXPECT_EQ(last_write(9068).payload, kSampleImage);

  ExerciseSet got{};
  ASSERT_EQ(fnQuibra_ReadExerciseSet(&p, 2, &got, 1), 1);
  ExerciseSet expected = sent;
  expected.Window2End = 420;   // 06:00 less and plus 60
  expected.Window4End = 1440;  // 23:30 plus 30
  EXPECT_TRUE(SameRecord(got, expected));

  unit_->clear_requests();
  EXPECT_EQ(fnQuibra_ReadExerciseSet(&p, 0, &got, 1), 0);
  EXPECT_EQ(fnQuibra_ReadExerciseSet(&p, 6, &got, 1), 0);
  EXPECT_EQ(fnQuibra_ReadExerciseSet(&p, 2, &got, 2), 0);
  EXPECT_TRUE(unit_->requests().empty());

  ExerciseSet again = Sample();
  p = write_file();
  ASSERT_EQ(fnQuibra_SendExerciseSet(&p, &again, 1), 1);
  ExerciseSet loaded{};
  loaded.SetNumber = 2;
  p = read_file();
  ASSERT_EQ(fnQuibra_SendExerciseSet(&p, &loaded, 1), 1);
  EXPECT_TRUE(SameRecord(loaded, expected));
}

TEST_F(ExerciseSetTest, OlderLayoutRoundTripsWithoutTheFurtherFields) {
  ASSERT_TRUE(start_unit(12));
  ExerciseSet sent = Sample();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendExerciseSet(&p, &sent, 0), 1);
  EXPECT_EQ(last_write(9003).payload, Bytes(kSampleImage.begin(), kSampleImage.begin() + 33));
  ExerciseSet got{};
  ASSERT_EQ(fnQuibra_ReadExerciseSet(&p, 2, &got, 0), 1);
  ExerciseSet expected = sent;
  expected.ExtraLow = expected.ExtraBit = expected.ExtraByteA = expected.ExtraByteB = 0;
  std::memset(expected.ExtraPairs, 0, sizeof expected.ExtraPairs);
  expected.Window1Start = expected.Window1End = expected.Window2Start = expected.Window2End = 0;
  expected.Window4Start = expected.Window4End = 0;
  EXPECT_TRUE(SameRecord(got, expected));
}

TEST_F(ExerciseSetTest, SendTakesTheLenientFlagFromTheParameters) {
  ASSERT_TRUE(start_unit(22));
  ExerciseSet r = Sample();
  r.Timer1 = 2;
  CommParams p = infrared();
  EXPECT_EQ(fnQuibra_SendExerciseSet(&p, &r, 1), 0);
  EXPECT_TRUE(requests_for(9068).empty());
  p = Lenient(infrared());
  ASSERT_EQ(fnQuibra_SendExerciseSet(&p, &r, 1), 1);
  EXPECT_EQ(r.Timer1, 120);
  ASSERT_FALSE(requests_for(9068).empty());
  EXPECT_EQ(fnQuibra_SendExerciseSet(&p, &r, 2), 0);
}

}  // namespace
}  // namespace quibra::testing

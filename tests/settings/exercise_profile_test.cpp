// Exercise profiles and exercise limits: checks and defaults, the images against hand-worked
// bytes, the percent mode, the batch marks on IrDA sockets, and Send / Read over a simulated
// unit, by sound and through the data file.
#include "settings/exercise_profile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frame/state_flags.h"
#include "protocol/engine.h"
#include "settings_test_support.h"

namespace quibra::testing {
namespace {

class ExerciseProfileTest : public SettingsTest {
 protected:
  // Profile 3 "Run": phase 0 set by hand, phase 1 with neither timer, the others the defaults.
  static ExerciseProfile Sample() {
    ExerciseProfile r{};
    fnQuibra_ResetExerciseProfile(3, &r, 0);
    std::memcpy(r.ProfileName, "Run\0\0\0\0\0", 8);
    r.Phases[0] = ExercisePhase{1, 0, 170, 140, 1, 2, 12, 3599, 160, 1, 1, 75, 130};
    r.Phases[1].Flag1 = 0;
    r.Phases[1].Flag3 = 0;
    r.Phases[1].Duration1 = 4;
    return r;
  }
};

// Bytes 5..78 of the sample's 9017 image, worked out by hand.
Bytes SampleImage() {
  const Bytes number = {0x03};
  const Bytes phase0 = {0x59, 0x59, 0x8C, 0xAA, 0x15, 0x01, 0x82, 0xA0, 0x12, 0x12, 0x0B};
  const Bytes phase1 = {0x00, 0x02, 0x8C, 0xA0, 0x00, 0x01, 0x78, 0xAA, 0x03, 0x00, 0x04};
  const Bytes defaults = {0x00, 0x03, 0x8C, 0xA0, 0x00, 0x01, 0x78, 0xAA, 0x03, 0x01, 0x0F};
  const Bytes name = {0x1C, 0x39, 0x32, 0x0A, 0x0A, 0x0A, 0x0A};  // "Run" and four spaces
  Bytes b;
  for (const Bytes* part :
       {&number, &phase0, &phase1, &defaults, &defaults, &defaults, &defaults, &name}) {
    for (uint8_t byte : *part)
      b.push_back(byte);
  }
  return b;
}

TEST_F(ExerciseProfileTest, PreparePacksTheHandWorkedImage) {
  ExerciseProfile r = Sample();
  ASSERT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 1);
  EXPECT_EQ(ImageBytes(9017, 3, 5, 78), SampleImage());
  // Completed in place: no timer in phase 1, so it is off with its mode cleared.
  EXPECT_EQ(r.Phases[1].PhaseOn, 0);
  EXPECT_EQ(r.Phases[1].Mode1, 0);
  EXPECT_EQ(r.Phases[1].Duration1, 120);
  EXPECT_EQ(SentImage(9017, 3).size(), 81u);
}

TEST_F(ExerciseProfileTest, DefaultsNumberNameAndOption) {
  ExerciseProfile r = Sample();
  r.Size = 0;
  r.ProfileNumber = 9;
  r.ProfileOption = 1;
  std::memcpy(r.ProfileName, "Ab\0xyz\0w", 8);
  ExercisePhase& ph = r.Phases[2];
  ph.Mode1 = 3;
  ph.Count1 = 31;
  ph.Level1 = 9;
  ph.Mode3 = 2;
  ph.Duration3 = 3;  // below 5 in mode 0 with Flag3 set
  ph.Level3 = 241;
  ph.UpperLimit = 250;
  ph.LowerLimit = 20;
  ASSERT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 1);
  EXPECT_EQ(r.Size, 340);
  EXPECT_EQ(r.ProfileNumber, 1);
  EXPECT_EQ(std::memcmp(r.ProfileName, "Ab\0\0\0\0\0w", 8), 0);  // cleared within 7 only
  EXPECT_TRUE(SameRecord(ph, ExercisePhase{1, 1, 160, 80, 1, 0, 1, 180, 150, 1, 0, 120, 140}));
  EXPECT_EQ(protocol::GetMessageByte(9017, 1, 5), 0x11);  // the number in both nibbles
  EXPECT_EQ(ImageBytes(9017, 1, 72, 78), (Bytes{0x0B, 0x26, 10, 10, 10, 10, 10}));
}

TEST_F(ExerciseProfileTest, PercentLimitsGoAsHeartRates) {
  ExerciseProfile r = Sample();
  r.LimitsInPercent = 1;
  r.PercentBase = 190;
  for (ExercisePhase& ph : r.Phases) {
    ph.UpperLimit = 85;
    ph.LowerLimit = 60;
  }
  ASSERT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 1);
  EXPECT_EQ(r.Phases[0].UpperLimit, 162);  // 161.5
  EXPECT_EQ(r.Phases[0].LowerLimit, 114);
  EXPECT_EQ(ImageBytes(9017, 3, 8, 9), (Bytes{114, 162}));
  EXPECT_EQ(ImageBytes(9017, 3, 63, 64), (Bytes{114, 162}));
}

TEST_F(ExerciseProfileTest, EveryFailingCheckLeavesTheImageUntouched) {
  ExerciseProfile good = Sample();
  ASSERT_EQ(fnQuibra_PrepareExerciseProfile(&good, 0, 0), 1);
  const Bytes before = SentImage(9017, 3);
  struct Case {
    const char* what;
    void (*spoil)(ExerciseProfile&);
  };
  const Case cases[] = {
      {"option 2", [](ExerciseProfile& r) { r.ProfileOption = 2; }},
      {"underscore", [](ExerciseProfile& r) { r.ProfileName[1] = '_'; }},
      {"phase on 2", [](ExerciseProfile& r) { r.Phases[4].PhaseOn = 2; }},
      {"flag2 -1", [](ExerciseProfile& r) { r.Phases[5].Flag2 = -1; }},
      {"equal limits", [](ExerciseProfile& r) { r.Phases[3].LowerLimit = r.Phases[3].UpperLimit; }},
      {"flag1 3", [](ExerciseProfile& r) { r.Phases[0].Flag1 = 3; }},
      {"flag3 2", [](ExerciseProfile& r) { r.Phases[2].Flag3 = 2; }},
      {"percent base 99",
       [](ExerciseProfile& r) {
         r.LimitsInPercent = 1;
         r.PercentBase = 99;
         for (ExercisePhase& ph : r.Phases) {
           ph.UpperLimit = 90;
           ph.LowerLimit = 60;
         }
       }},
      {"percent limit 101",
       [](ExerciseProfile& r) {
         r.LimitsInPercent = 1;
         r.PercentBase = 200;
         r.Phases[0].UpperLimit = 101;
       }},
  };
  for (const Case& c : cases) {
    ExerciseProfile r = Sample();
    c.spoil(r);
    EXPECT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 0) << c.what;
    EXPECT_EQ(SentImage(9017, 3), before) << c.what;
  }
}

TEST_F(ExerciseProfileTest, OnIrdaSocketsPrepareMarksTheBatchRows) {
  ExerciseProfile r = Sample();
  ASSERT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 1);
  EXPECT_FALSE(protocol::BatchRowMarkedRead(66));
  frame::SetStateFlag(frame::kFlagIrdaSockets, 1);
  ASSERT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 1);
  EXPECT_FALSE(protocol::BatchRowMarkedRead(65));
  EXPECT_TRUE(protocol::BatchRowMarkedRead(66));
  EXPECT_TRUE(protocol::BatchRowMarkedRead(67));
  EXPECT_FALSE(protocol::BatchRowMarkedRead(68));
}

TEST_F(ExerciseProfileTest, ResetFillsTheDefaults) {
  ExerciseProfile r;
  std::memset(&r, 0x5A, sizeof r);
  EXPECT_EQ(fnQuibra_ResetExerciseProfile(4, &r, 0), &r);
  EXPECT_EQ(r.Size, 340);
  EXPECT_EQ(r.ProfileNumber, 4);
  EXPECT_EQ(r.ProfileOption, 0);
  EXPECT_EQ(std::memcmp(r.ProfileName, "Profile4", 8), 0);  // fills the field, no terminator
  EXPECT_EQ(r.LimitsInPercent + r.PercentBase, 0);
  for (const ExercisePhase& ph : r.Phases)
    EXPECT_TRUE(SameRecord(ph, ExercisePhase{1, 1, 160, 140, 1, 1, 3, 180, 170, 1, 0, 60, 120}));
  EXPECT_EQ(fnQuibra_PrepareExerciseProfile(&r, 0, 0), 1);
  EXPECT_EQ(ImageBytes(9017, 4, 72, 78), (Bytes{0x1A, 0x36, 0x33, 0x2A, 0x2D, 0x30, 0x29}));
}

TEST_F(ExerciseProfileTest, RoundTripThroughASimulatedUnitAndThroughTheDataFile) {
  ASSERT_TRUE(start_unit(13));
  ExerciseProfile sent = Sample();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendExerciseProfile(&p, &sent), 1);
  EXPECT_EQ(last_write(9017).param, 3);
  EXPECT_EQ(last_write(9017).payload, SampleImage());
  ExerciseProfile got{};
  ASSERT_EQ(fnQuibra_ReadExerciseProfile(&p, 3, &got), 1);
  EXPECT_TRUE(SameRecord(got, sent));

  // Profile 5 has a place of its own; with the option on, the option reads back as the number
  // its nibble repeats.
  ExerciseProfile five = Sample();
  five.ProfileNumber = 5;
  five.ProfileOption = 1;
  five.Phases[0].Level1 = 99;
  ASSERT_EQ(fnQuibra_SendExerciseProfile(&p, &five), 1);
  ExerciseProfile got5{};
  ASSERT_EQ(fnQuibra_ReadExerciseProfile(&p, 5, &got5), 1);
  five.ProfileOption = 5;
  EXPECT_TRUE(SameRecord(got5, five));
  ASSERT_EQ(fnQuibra_ReadExerciseProfile(&p, 3, &got), 1);
  EXPECT_TRUE(SameRecord(got, sent));

  // Numbers outside 1..7 are refused without a transfer.
  unit_->clear_requests();
  EXPECT_EQ(fnQuibra_ReadExerciseProfile(&p, 0, &got), 0);
  EXPECT_EQ(fnQuibra_ReadExerciseProfile(&p, 8, &got), 0);
  EXPECT_TRUE(unit_->requests().empty());

  // Through the data file.
  ExerciseProfile again = Sample();
  p = write_file();
  ASSERT_EQ(fnQuibra_SendExerciseProfile(&p, &again), 1);
  ExerciseProfile loaded{};
  loaded.ProfileNumber = 3;
  p = read_file();
  ASSERT_EQ(fnQuibra_SendExerciseProfile(&p, &loaded), 1);
  EXPECT_TRUE(SameRecord(loaded, sent));
}

// ---- exercise limits ------------------------------------------------------------------------

class ExerciseLimitsTest : public SettingsTest {};

TEST_F(ExerciseLimitsTest, PrepareNeverFailsAndRepairsThePair) {
  struct Case {
    ExerciseLimits in;
    ExerciseLimits out;
  };
  const Case cases[] = {
      {{16, 1, 150, 150}, {16, 1, 180, 150}},  // equal: the upper limit 30 above
      {{16, 1, 200, 220}, {16, 1, 240, 220}},  // 250 is cut to 240
      {{16, 1, 240, 240}, {16, 1, 180, 135}},  // a lower limit of 240: both defaults
      {{0, 5, 5, 300}, {16, 0, 180, 135}},     // size, flag and both limits out of range
      {{16, 0, 170, 120}, {16, 0, 170, 120}},
  };
  for (const Case& c : cases) {
    ExerciseLimits r = c.in;
    ASSERT_EQ(fnQuibra_PrepareExerciseLimits(&r), 1);
    EXPECT_TRUE(SameRecord(r, c.out)) << c.in.UpperLimit << "/" << c.in.LowerLimit;
    EXPECT_EQ(ImageBytes(9037, 0, 5, 7),
              (Bytes{static_cast<uint8_t>(c.out.LowerLimit), static_cast<uint8_t>(c.out.UpperLimit),
                     static_cast<uint8_t>(c.out.LimitsOn)}));
  }
  ExerciseLimits reset{};
  EXPECT_EQ(fnQuibra_ResetExerciseLimits(&reset), &reset);
  EXPECT_TRUE(SameRecord(reset, ExerciseLimits{16, 1, 160, 80}));
}

TEST_F(ExerciseLimitsTest, NotOverInfraredButBySoundAndThroughTheDataFile) {
  // Over infrared nothing is sent, though the record is prepared all the same.
  ASSERT_TRUE(start_unit(12));
  ExerciseLimits r{16, 1, 150, 150};
  CommParams p = infrared();
  EXPECT_EQ(fnQuibra_SendExerciseLimits(&p, &r), 1);
  EXPECT_EQ(r.UpperLimit, 180);
  EXPECT_TRUE(unit_->requests().empty());
  EXPECT_TRUE(speaker_.heard.empty());

  r = ExerciseLimits{16, 1, 170, 120};
  p = sound();
  ASSERT_EQ(fnQuibra_SendExerciseLimits(&p, &r), 1);
  ASSERT_EQ(speaker_.heard.size(), 1u);
  const Bytes& heard = speaker_.heard[0];
  ASSERT_EQ(heard.size(), 16u);
  EXPECT_EQ(Bytes(heard.begin(), heard.begin() + 10),
            (Bytes{0, 0, 0xA3, 0x25, 0x00, 0x00, 0x0A, 120, 170, 1}));
  EXPECT_EQ(heard, Padded(SentImage(9037, 0)));

  p = write_file();
  ASSERT_EQ(fnQuibra_SendExerciseLimits(&p, &r), 1);
  ExerciseLimits loaded{};
  p = read_file();
  ASSERT_EQ(fnQuibra_SendExerciseLimits(&p, &loaded), 1);
  EXPECT_TRUE(SameRecord(loaded, r));
  EXPECT_EQ(speaker_.heard.size(), 1u);
}

}  // namespace
}  // namespace quibra::testing

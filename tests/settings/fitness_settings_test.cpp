// The fitness units' settings: the checks and byte layouts with hand-worked values, and every
// group through a simulated unit by infrared, by sound and through the data file.
#include <gtest/gtest.h>

#include "settings/settings_test_support.h"
#include "support/cardio_programme.h"

namespace quibra::testing {
namespace {

class FitnessSettings : public SettingsTest {
 protected:
  static FitnessUserSettings User() {
    FitnessUserSettings r{};
    fnQuibra_QF_ResetUserSettings(&r);
    r.BirthDate = 19800615;
    r.MaxHR = 0;
    r.WeightKg = 0;
    r.WeightLb = 176;
    r.Sex = 1;
    r.SecondaryHR = 70;
    r.Level = 2;
    return r;
  }
};

TEST_F(FitnessSettings, UserDataPacksTheShortAndTheLongLayout) {
  FitnessUserSettings r = User();
  ASSERT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 1);
  // Born 1980-06-15, today 2024-01-01: (20240101 - 19800615) / 10000 = 43 years; the maximum
  // heart rate counts the birthday not yet reached: 220 - 44 - 1.
  EXPECT_EQ(r.MaxHR, 175);
  EXPECT_EQ(r.WeightKg, 80);  // 176 lb x 0.4536 = 79.8
  EXPECT_EQ(r.VO2max, 45);
  EXPECT_EQ(ImageBytes(9060, 1, 5, 16), (Bytes{176, 0, 182, 1, 43, 175, 45, 70, 15, 6, 80, 2}));

  r = User();
  r.UnitType = 32;
  r.BirthDate = 20010203;  // the year goes as 101 - 100
  ASSERT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 1);
  EXPECT_EQ(ImageBytes(9078, 1, 5, 15), (Bytes{176, 0, 182, 3, 2, 1, 1, 196, 45, 70, 2}));
}

TEST_F(FitnessSettings, UserChecks) {
  FitnessUserSettings r = User();
  r.WeightLb = 450;  // the pound range ends at 439 here
  ASSERT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 1);
  EXPECT_EQ(r.WeightLb, 140);
  EXPECT_EQ(r.WeightKg, 64);

  r = User();
  r.HeightCm = 0;  // no height given at all stays so
  r.HeightFeet = 0;
  r.HeightInches = 0;
  ASSERT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 1);
  EXPECT_EQ(r.HeightCm, 0);
  r.HeightFeet = 9;  // checked once one of them is given
  r.HeightInches = 1;
  ASSERT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 1);
  EXPECT_EQ(r.HeightFeet, 5);
  EXPECT_EQ(r.HeightCm, 155);  // 152 + 3

  r = User();
  r.SecondaryHR = 95;
  r.Size = 0;
  ASSERT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 1);
  EXPECT_EQ(r.SecondaryHR, 60);
  EXPECT_EQ(r.Size, 52);

  const Bytes before = ImageBytes(9060, 1, 5, 16);
  for (const int32_t birth : {18991231, 20210101, 19800631}) {
    r = User();
    r.BirthDate = birth;
    EXPECT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 0) << birth;
  }
  r = User();
  r.Sex = 2;
  EXPECT_EQ(fnQuibra_QF_PrepareUserSettings(&r), 0);
  EXPECT_EQ(ImageBytes(9060, 1, 5, 16), before);  // a failed check packs nothing
}

TEST_F(FitnessSettings, ExerciseLimitsLayoutAndChecks) {
  FitnessExerciseSettings r{};
  fnQuibra_QF_ResetExerciseSettings(&r);
  r.UpperLimit = 250;  // out of range: the default
  r.LowerLimit = 95;
  ASSERT_EQ(fnQuibra_QF_PrepareExerciseSettings(&r), 1);
  EXPECT_EQ(r.UpperLimit, 160);
  Bytes expected(37, 0);
  expected[2] = 7;
  expected[3] = 36;
  expected[4] = 95;
  expected[5] = 160;
  expected[21] = 1;  // A
  expected[25] = 2;  // C
  expected[29] = 2;  // B
  EXPECT_EQ(ImageBytes(9064, 1, 5, 41), expected);

  struct Case {
    int32_t unit_type, percent, upper, lower, result;
  };
  for (const Case c : {Case{27, 0, 160, 80, 0}, Case{40, 1, 100, 0, 1}, Case{24, 1, 101, 50, 0},
                       Case{26, 0, 100, 120, 0}, Case{25, 0, 120, 120, 1}}) {
    fnQuibra_QF_ResetExerciseSettings(&r);
    r.UnitType = c.unit_type;
    r.LimitsInPercent = c.percent;
    r.UpperLimit = c.upper;
    r.LowerLimit = c.lower;
    EXPECT_EQ(fnQuibra_QF_PrepareExerciseSettings(&r), c.result) << c.unit_type << " " << c.upper;
  }
}

TEST_F(FitnessSettings, TheClockBySoundRunsOneSecondAhead) {
  set_today(2024, 3, 9, 12, 0, 0);
  ASSERT_EQ(fnQuibra_QF_PrepareWatchSettings(1), 1);
  EXPECT_EQ(ImageBytes(9062, 1, 5, 15), (Bytes{9, 3, 24, 0x00, 0x00, 0x12, 0, 0x10, 0, 0, 0}));
  CommParams p = sound();
  ASSERT_EQ(fnQuibra_QF_SendWatchSettings(&p), 1);
  EXPECT_EQ(ImageBytes(9062, 1, 8, 10), (Bytes{0x01, 0x00, 0x12}));
  ASSERT_EQ(speaker_.heard.size(), 1u);
  EXPECT_EQ(speaker_.heard[0], Padded(SentImage(9062, 0)));
}

TEST_F(FitnessSettings, EveryGroupBySoundAndThroughTheDataFile) {
  // By sound the unit hears the sealed image; through the data file the record comes back.
  FitnessUserSettings user = User();
  FitnessExerciseSettings limits{};
  fnQuibra_QF_ResetExerciseSettings(&limits);
  limits.UnitType = 26;
  limits.LimitsInPercent = 1;
  limits.UpperLimit = 85;
  limits.LowerLimit = 60;
  FitnessMonitorSettings options{};
  options.FitnessOption1 = 1;
  options.FitnessOption4 = 1;
  CardioProgram programme = SampleCardioProgram();

  CommParams p = sound();
  ASSERT_EQ(fnQuibra_QF_SendUserSettings(&p, &user), 1);
  EXPECT_EQ(speaker_.heard.back(), Padded(SentImage(9060, 0)));
  ASSERT_EQ(fnQuibra_QF_SendExerciseSettings(&p, &limits), 1);
  EXPECT_EQ(speaker_.heard.back(), Padded(SentImage(9064, 0)));
  ASSERT_EQ(fnQuibra_QF_SendMonitorSettings(&p, &options), 1);
  EXPECT_EQ(speaker_.heard.back(), Padded(SentImage(9059, 0)));
  EXPECT_EQ(ImageBytes(9059, 1, 5, 5), Bytes{18});
  ASSERT_EQ(fnQuibra_QF_SendCardioProgram(&p, &programme), 1);
  EXPECT_EQ(speaker_.heard.back(), Padded(SentImage(9065, 0)));
  EXPECT_EQ(speaker_.heard.size(), 4u);

  const auto through_file = [&](auto& sent, auto fresh, auto send) {
    CommParams w = write_file();
    ASSERT_EQ(send(&w, &sent), 1);
    CommParams r = read_file();
    ASSERT_EQ(send(&r, &fresh), 1);
    EXPECT_TRUE(SameRecord(sent, fresh));
  };
  FitnessUserSettings user_back{};
  user_back.UnitType = user.UnitType;
  through_file(user, user_back, fnQuibra_QF_SendUserSettings);
  user.UnitType = 30;  // the long layout
  user_back = FitnessUserSettings{};
  user_back.UnitType = 30;
  through_file(user, user_back, fnQuibra_QF_SendUserSettings);
  FitnessExerciseSettings limits_back{};
  limits_back.UnitType = 26;
  through_file(limits, limits_back, fnQuibra_QF_SendExerciseSettings);
  FitnessMonitorSettings options_back{};
  options_back.Size = 24;
  through_file(options, options_back, fnQuibra_QF_SendMonitorSettings);
  CardioProgram programme_back{};
  programme_back.UnitType = 27;
  through_file(programme, programme_back, fnQuibra_QF_SendCardioProgram);
}

TEST_F(FitnessSettings, UserDataByInfraredReachesTheUnit) {
  ASSERT_TRUE(start_unit(26));
  FitnessUserSettings user = User();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_QF_SendUserSettings(&p, &user), 1);
  EXPECT_EQ(last_write(9060).payload, (Bytes{176, 0, 182, 1, 43, 175, 45, 70, 15, 6, 80, 2}));
}

}  // namespace
}  // namespace quibra::testing

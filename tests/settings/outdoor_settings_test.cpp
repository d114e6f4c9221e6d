// Settings of the outdoor units: each group's image against hand-worked bytes, the checks that
// refuse a record before anything is sent, and every group's round trip through a simulated
// type-20 unit over a pty, by sound (as the unit's receiver hears it) and through the data file.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

#include "frame/comm_params.h"
#include "protocol/engine.h"
#include "settings_test_support.h"

namespace quibra::testing {
namespace {

class OutdoorSettingsTest : public SettingsTest {
 protected:
  static OutdoorWatchSettings Watch() {
    OutdoorWatchSettings w{};
    w.TimeOfDay = 45296;       // 12:34:56
    w.SecondTimeOfDay = 3723;  // 01:02:03, sent as 01:02
    w.OutdoorFlag0 = 1;
    w.OutdoorFlag7 = 1;
    w.Date = 20240107;
    w.Alarm1On = 1;
    w.Alarm3On = 1;
    w.Alarm1Time = 25230;  // 07:00:30, sent as 07:00
    w.Alarm3Time = 86340;  // 23:59
    std::strcpy(w.Alarm1Text, "wake up");
    std::strcpy(w.Alarm2Text, "GO");
    std::strcpy(w.Alarm3Text, "7:30");
    return w;
  }
  static OutdoorReminder Reminder(const char* text) {
    OutdoorReminder r{};
    r.ReminderNumber = 2;
    r.ReminderOn = 1;
    r.ReminderDate = 20250315;
    r.ReminderTime = 29100;  // 08:05
    std::strcpy(r.ReminderText, text);
    return r;
  }
  static TrkUserSettings User() {
    TrkUserSettings u{};
    fnQuibra_T_ResetUserSettings(&u);
    u.BirthDate = 19850304;
    u.MaxHR = 190;
    u.AltitudeM1 = 1000;
    u.AltitudeFt2 = -1800;
    u.LimitFlagA2 = 1;
    u.LimitFlagB2 = 1;
    u.UpperLimit2 = 150;
    u.LowerLimit2 = 120;
    u.TimerValue = 3723;
    u.SignedValue = -5;
    u.OptionD7 = 1;
    return u;
  }
  static OutdoorCalibPoint Point() {
    OutdoorCalibPoint p{};
    p.PointNumber = 4;
    p.PointOn = 1;
    p.AltitudeM = 2962;
    std::strcpy(p.PointName, "summit");
    return p;
  }

  // The payload of the last sound played, as the unit's receiver heard it.
  Bytes heard_payload() const {
    const Bytes& heard = speaker_.heard.back();
    return heard.size() < 11 ? Bytes{} : Bytes(heard.begin() + 7, heard.end() - 4);
  }

  // Sends a record on each road and reads it back over the pty: directly; from what the unit
  // heard by sound; and through the data file. `expected` is the record as Send completes it.
  template <typename Record>
  void RoundTrip(const Record& sent, const Record& expected, int32_t write_id, int32_t sub,
                 const std::function<int32_t(CommParams*, Record*)>& send,
                 const std::function<int32_t(CommParams*, Record*)>& read) {
    Record r = sent;
    CommParams p = infrared();
    ASSERT_EQ(send(&p, &r), 1);
    EXPECT_TRUE(SameRecord(r, expected));
    Record got{};
    ASSERT_EQ(read(&p, &got), 1);
    EXPECT_TRUE(SameRecord(got, expected));

    r = sent;
    p = sound();
    ASSERT_EQ(send(&p, &r), 1);
    unit_->set_image(write_id, sub, Bytes(unit_->image(write_id, sub).size(), 0));
    ASSERT_TRUE(unit_->set_image(write_id, sub, heard_payload()));
    got = Record{};
    p = infrared();
    ASSERT_EQ(read(&p, &got), 1);
    EXPECT_TRUE(SameRecord(got, expected));

    r = sent;
    p = write_file();
    ASSERT_EQ(send(&p, &r), 1);
    got = Record{};
    std::memcpy(&got, &expected, 8);  // Size and the number the file section is for
    p = read_file();
    ASSERT_EQ(send(&p, &got), 1);
    EXPECT_TRUE(SameRecord(got, expected));
  }
};

TEST_F(OutdoorSettingsTest, WatchImageTextsAndChecks) {
  OutdoorWatchSettings w = Watch();
  ASSERT_EQ(fnQuibra_T_PrepareWatchSettings(&w), 1);
  EXPECT_EQ(ImageBytes(9040, 1, 5, 41),
            (Bytes{0x07, 0x01, 0x18, 0x56, 0x34, 0x12, 0x02, 0x01, 0x00, 0x07, 0x00, 0x00, 0x59,
                   0x23, 0x05, 0x81,
                   // "WAKE UP", "GO" and five spaces, "7:30" and three spaces, end-marked
                   0x21, 0x0B, 0x15, 0x0F, 0x0A, 0x1F, 0x9A, 0x11, 0x99, 0x8A, 0x8A, 0x8A, 0x8A,
                   0x8A, 0x07, 0x2C, 0x03, 0x80, 0x8A, 0x8A, 0x8A}));
  EXPECT_STREQ(w.Alarm1Text, "WAKE UP");
  EXPECT_EQ(w.Size, 76);
  EXPECT_EQ(w.SecondTimeOfDay, 3720);
  EXPECT_EQ(w.Alarm1Time, 25200);

  // Refused records leave the image as it was.
  const Bytes before = SentImage(9040, 1);
  auto refused = [&](auto change, int32_t error) {
    OutdoorWatchSettings bad = Watch();
    change(bad);
    EXPECT_EQ(fnQuibra_T_PrepareWatchSettings(&bad), 0);
    if (error != 0) {
      EXPECT_EQ(fnQuibra_GetErrorCode(), error);
    }
    EXPECT_EQ(SentImage(9040, 1), before);
  };
  refused([](OutdoorWatchSettings& b) { b.Alarm2Time = 86400; }, 101);
  refused([](OutdoorWatchSettings& b) { b.Date = 19991231; }, 102);
  refused([](OutdoorWatchSettings& b) { b.OutdoorFlag4 = 2; }, 0);
  refused([](OutdoorWatchSettings& b) { std::strcpy(b.Alarm2Text, "caf\xE9"); }, 0);
  refused([](OutdoorWatchSettings& b) { std::strcpy(b.Alarm3Text, "a_b"); }, 0);
}

TEST_F(OutdoorSettingsTest, ReminderImageDefaultsAndMark) {
  OutdoorReminder r = Reminder("Call 5?");
  r.Size = 0;
  ASSERT_EQ(fnQuibra_T_PrepareReminder(&r, 1), 1);
  // Sub-image 3 names reminder 2; capitals; the question mark shows as a space.
  EXPECT_EQ(ImageBytes(9052, 3, 5, 18), (Bytes{0x03, 0x0D, 0x0B, 0x16, 0x16, 0x0A, 0x85, 0x8A, 0x01,
                                               0x05, 0x08, 0x0F, 0x03, 0x19}));
  EXPECT_EQ(r.Size, 28);
  EXPECT_TRUE(protocol::BatchRowMarkedRead(13));

  OutdoorReminder odd = Reminder("x");
  odd.ReminderNumber = 7;
  odd.ReminderOn = 3;
  odd.ReminderDate = 20020101;
  odd.ReminderTime = -1;
  ASSERT_EQ(fnQuibra_T_PrepareReminder(&odd, 0), 1);
  EXPECT_EQ(odd.ReminderNumber, 0);
  EXPECT_EQ(odd.ReminderOn, 0);
  EXPECT_EQ(odd.ReminderDate, 20240101);
  EXPECT_EQ(odd.ReminderTime, 43200);
  OutdoorReminder bad = Reminder("a_b");
  EXPECT_EQ(fnQuibra_T_PrepareReminder(&bad, 0), 0);

  OutdoorReminder reset{};
  ASSERT_EQ(fnQuibra_T_ResetReminder(4, &reset), &reset);
  EXPECT_STREQ(reset.ReminderText, "Remind5");
}

TEST_F(OutdoorSettingsTest, UserImageConversionsAndChecks) {
  TrkUserSettings u = User();
  ASSERT_EQ(fnQuibra_T_PrepareUserSettings(&u), 1);
  EXPECT_EQ(u.WeightLb, 154);
  EXPECT_EQ(u.AltitudeFt1, 3281);
  EXPECT_EQ(u.AltitudeM2, -548);
  EXPECT_EQ(u.HeightFeet, 6);
  EXPECT_EQ(u.HeightInches, 0);
  EXPECT_EQ(ImageBytes(9042, 1, 5, 34),
            (Bytes{154,  0,    182,  4,    3,    85, 0,   3,   190, 45, 60,
                   0x08,  // OptionA1 0, OptionA2 1, OptionA3 0 (bit 3)
                   0x30,  // sets 1 and 2 on, set 3 off (bits 4, 5); limits in bpm
                   0,    0,    0x03, 0x02, 0x01, 80, 160, 120, 150, 80, 160,
                   0x90,        // OptionD4 0 (bit 4), OptionD7
                   0xD1, 0x2C,  // 3281 + 8192
                   0xF8, 0x18,  // -1800 + 8192
                   123}));

  // A received image: birth-year byte 15 is 2015, 85 is 1985.
  for (auto [year_byte, year] : {std::pair{15, 2015}, std::pair{85, 1985}}) {
    protocol::SetMessageByte(9043, 0, 11, static_cast<uint8_t>(year_byte));
    TrkUserSettings back{};
    fnQuibra_T_UnPackUserSettings(&back);
    EXPECT_EQ(back.BirthDate / 10000, year);
  }

  const Bytes before = SentImage(9042, 1);
  TrkUserSettings bad = User();
  bad.LimitsInBpm = 0;
  bad.UpperLimit2 = 90;
  bad.LowerLimit2 = 95;
  EXPECT_EQ(fnQuibra_T_PrepareUserSettings(&bad), 0);
  bad = User();
  bad.OptionD6 = 2;
  EXPECT_EQ(fnQuibra_T_PrepareUserSettings(&bad), 0);
  EXPECT_EQ(SentImage(9042, 1), before);
}

TEST_F(OutdoorSettingsTest, SplitInfoTextBreaksAtASpace) {
  char one[8];
  char two[8];
  EXPECT_EQ(fnSplitInfoText("Hut at 2km", one, two), 1);
  EXPECT_STREQ(one, "Hut at");
  EXPECT_STREQ(two, "2km");
  EXPECT_EQ(fnSplitInfoText("Mountains_ahead", one, two), 0);
  EXPECT_STREQ(one, "Mountai");
  EXPECT_STREQ(two, "ns ahea");
}

TEST_F(OutdoorSettingsTest, EveryGroupRoundTripsOnEveryRoad) {
  ASSERT_TRUE(start_unit(20));
  OutdoorWatchSettings watch = Watch();
  std::strcpy(watch.Alarm1Text, "WAKE UP");
  OutdoorWatchSettings watch_done = watch;
  watch_done.Size = 76;
  watch_done.SecondTimeOfDay = 3720;
  watch_done.Alarm1Time = 25200;
  RoundTrip<OutdoorWatchSettings>(watch, watch_done, 9040, 0, fnQuibra_T_SendWatchSettings,
                                  fnQuibra_T_ReadWatchSettings);

  OutdoorReminder reminder = Reminder("CALL 5!");
  reminder.Size = 28;
  RoundTrip<OutdoorReminder>(
      reminder, reminder, 9052, 3, fnQuibra_T_SendReminder,
      [](CommParams* p, OutdoorReminder* r) { return fnQuibra_T_ReadReminder(p, 2, r); });

  TrkUserSettings user = User();
  TrkUserSettings user_done = user;
  ASSERT_EQ(fnQuibra_T_PrepareUserSettings(&user_done), 1);
  RoundTrip<TrkUserSettings>(user, user_done, 9042, 0, fnQuibra_T_SendUserSettings,
                             fnQuibra_T_ReadUserSettings);

  OutdoorCalibPoint point = Point();
  point.Size = 28;
  OutdoorCalibPoint point_done = point;
  point_done.AltitudeFt = 9718;
  std::strcpy(point_done.PointName, "SUMMIT");
  RoundTrip<OutdoorCalibPoint>(
      point, point_done, 9044, 4, fnQuibra_T_SendAltCalibRoute,
      [](CommParams* p, OutdoorCalibPoint* r) { return fnQuibra_T_ReadAltCalibRoute(p, 4, r); });
}

TEST_F(OutdoorSettingsTest, InfoTextsTotalsTestsAndLogoOnTheUnit) {
  ASSERT_TRUE(start_unit(21));
  OutdoorInfoTexts info{20, "Hut at", "2km"};
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_T_SendInfoTexts(&p, &info), 1);
  EXPECT_EQ(unit_->image(9055, 0), (Bytes{0x12, 0x39, 0x38, 0x0A, 0x25, 0xB8, 0x8A, 0x02, 0x2F,
                                          0xB1, 0x8A, 0x8A, 0x8A, 0x8A}));
  // By sound the unit hears the bytes it took over the line.
  p = sound();
  ASSERT_EQ(fnQuibra_T_SendInfoTexts(&p, &info), 1);
  EXPECT_EQ(heard_payload(), unit_->image(9055, 0));
  OutdoorInfoTexts bad{20, "Hut_1", ""};
  const Bytes before = SentImage(9055, 1);
  EXPECT_EQ(fnQuibra_T_SendInfoTexts(&p, &bad), 0);
  EXPECT_EQ(SentImage(9055, 1), before);
  p = write_file();
  ASSERT_EQ(fnQuibra_T_SendInfoTexts(&p, &info), 1);
  OutdoorInfoTexts loaded{};
  p = read_file();
  ASSERT_EQ(fnQuibra_T_SendInfoTexts(&p, &loaded), 1);
  EXPECT_TRUE(SameRecord(loaded, info));

  // Season totals: 12 exercises, 30:15:07 h, 12000 ft up, 11000 ft down, 5000 kcal, the highest
  // point 9718 ft on 2024-08-03.
  Bytes season(51, 0);
  const Bytes filled = {1,    1,    24, 12,   0,    30, 0,    15,   7, 0xE0, 0x2E, 0,
                        0xF8, 0x2A, 0,  0x88, 0x13, 0,  0xF6, 0x45, 3, 8,    24};
  std::copy(filled.begin(), filled.end(), season.begin());
  ASSERT_TRUE(unit_->set_image(9046, 0, season));
  OutdoorSeasonTotals totals{};
  p = infrared();
  ASSERT_EQ(fnQuibra_T_ReadSeasonTotals(&p, &totals), 1);
  EXPECT_EQ(totals.SeasonStartDate, 20240101);
  EXPECT_EQ(totals.ExerciseCount, 12);
  EXPECT_EQ(totals.ExerciseTime, 30 * 3600 + 15 * 60 + 7);
  EXPECT_EQ(totals.AscentFt, 12000);
  EXPECT_EQ(totals.AscentM, 3658);
  EXPECT_EQ(totals.DescentFt, 11000);
  EXPECT_EQ(totals.EnergyKcal, 5000);
  EXPECT_EQ(totals.HighestAltitudeFt, 9718);
  EXPECT_EQ(totals.HighestAltitudeDate, 20240803);
  ASSERT_EQ(fnQuibra_T_ResetSeasonTotals(&p, &totals), 1);
  EXPECT_EQ(totals.ExerciseCount, 0);
  ASSERT_EQ(fnQuibra_T_ReadSeasonTotals(&p, &totals), 1);
  EXPECT_EQ(totals.AscentFt, 0);
  EXPECT_EQ(totals.SeasonStartDate, 0);
  p = sound();
  ASSERT_EQ(fnQuibra_T_ResetSeasonTotals(&p, &totals), 1);
  EXPECT_EQ(heard_payload(), Bytes{1});
  p = infrared();

  ASSERT_TRUE(unit_->set_image(9048, 0, Bytes{2, 5, 6, 24, 52, 20, 1, 24, 48}));
  OutdoorTestResults tests{};
  ASSERT_EQ(fnQuibra_T_ReadTestResults(&p, &tests), 1);
  EXPECT_EQ(tests.ResultCount, 2);
  EXPECT_EQ(tests.TestDate1, 20240605);
  EXPECT_EQ(tests.TestValue1, 52);
  EXPECT_EQ(tests.TestDate2, 20240120);
  EXPECT_EQ(tests.TestValue2, 48);
  EXPECT_EQ(tests.TestDate3, 0);
  ASSERT_EQ(fnQuibra_T_ResetTestResults(&p, &tests), 1);
  ASSERT_EQ(fnQuibra_T_ReadTestResults(&p, &tests), 1);
  EXPECT_EQ(tests.ResultCount, 0);
  EXPECT_EQ(requests_for(9049).size(), 1u);

  // A logo sent and read back is the same picture.
  std::array<int32_t, 47> logo{};
  for (int32_t c = 0; c < 47; ++c)
    logo[static_cast<size_t>(c)] = (c * 331 + 7) & 0x7FFF;
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 21, logo.data(), 0), 1);
  std::array<int32_t, 47> back{};
  ASSERT_EQ(fnQuibra_ReadMonitorLogo(&p, 21, back.data(), 0), 1);
  EXPECT_EQ(back, logo);
}

}  // namespace
}  // namespace quibra::testing

// Watch settings: the 12-hour forms, the time and date checks with their error codes, the 9001
// image against hand-worked bytes, and Send / Read over a simulated unit and through the data
// file.
#include "settings/watch_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frame/comm_params.h"
#include "settings_test_support.h"

namespace quibra::testing {
namespace {

class WatchSettingsTest : public SettingsTest {
 protected:
  // 12:30:00 in 12-hour form on Sunday 2024-01-07, the second time 01:02:03 in 24-hour form,
  // the alarm at 07:00:30.
  static WatchSettings Sample() {
    WatchSettings w{};
    w.TimeOfDay = 45000;
    w.SecondTimeOfDay = 3723;
    w.TwelveHour = 1;
    w.Date = 20240107;
    w.OptionBit2 = 1;
    w.AlarmTime = 25230;
    return w;
  }
  static void SetReadImage(const Bytes& payload) {
    for (size_t i = 0; i < payload.size(); ++i)
      protocol::SetMessageByte(9002, 0, static_cast<int32_t>(6 + i), payload[i]);
  }
};

TEST_F(WatchSettingsTest, PreparePacksTheTwelveHourForms) {
  WatchSettings w = Sample();
  ASSERT_EQ(fnQuibra_PrepareWatchSettings(&w), 1);
  EXPECT_EQ(w.Size, 36);
  EXPECT_EQ(w.SecondTimeOfDay, 3720);  // whole minutes
  EXPECT_EQ(w.AlarmTime, 25200);
  EXPECT_EQ(w.TimeOfDay, 45000);  // keeps its seconds
  // 00 s, 30 min, hour 12 (PM), day 7, year 24, Sunday (6) and January, alarm 07:00, second
  // time 01:02; flags: time PM, OptionBit2, TwelveHour.
  EXPECT_EQ(ImageBytes(9001, 0, 5, 15),
            (Bytes{0x00, 0x30, 0x12, 0x07, 0x24, 0x61, 0x00, 0x07, 0x02, 0x01, 0x0E}));

  // The second time in use: the alarm follows its 12-hour choice.
  w = WatchSettings{};
  w.TimeOfDay = 47109;        // 13:05:09, 24-hour form
  w.SecondTimeOfDay = 86340;  // 23:59, shown 11 PM
  w.SecondTwelveHour = 1;
  w.SecondTimeActive = 1;
  w.AlarmTime = 47700;  // 13:15, shown 1 PM
  w.Date = 20240101;    // a Monday
  ASSERT_EQ(fnQuibra_PrepareWatchSettings(&w), 1);
  EXPECT_EQ(ImageBytes(9001, 0, 5, 15),
            (Bytes{0x09, 0x05, 0x13, 0x01, 0x24, 0x01, 0x15, 0x01, 0x59, 0x11, 0x71}));

  // Midnight in 12-hour form is 12 with PM clear.
  w = Sample();
  w.TimeOfDay = 0;
  ASSERT_EQ(fnQuibra_PrepareWatchSettings(&w), 1);
  EXPECT_EQ(protocol::GetMessageByte(9001, 0, 7), 0x12);
  EXPECT_EQ(protocol::GetMessageByte(9001, 0, 15) & 0x02, 0);
}

TEST_F(WatchSettingsTest, ChecksSetTheirErrorCodesAndLeaveTheImage) {
  WatchSettings w = Sample();
  ASSERT_EQ(fnQuibra_PrepareWatchSettings(&w), 1);
  const Bytes before = SentImage(9001, 0);
  struct Case {
    const char* what;
    void (*spoil)(WatchSettings&);
    int32_t error;  // 0: the code stays as it was
  };
  const Case cases[] = {
      {"time 86400", [](WatchSettings& r) { r.TimeOfDay = 86400; }, 101},
      {"second time -2", [](WatchSettings& r) { r.SecondTimeOfDay = -2; }, 101},
      {"alarm 90000", [](WatchSettings& r) { r.AlarmTime = 90000; }, 101},
      {"twelve-hour 2", [](WatchSettings& r) { r.TwelveHour = 2; }, 0},
      {"second active -1", [](WatchSettings& r) { r.SecondTimeActive = -1; }, 0},
      {"option 3", [](WatchSettings& r) { r.OptionBit2 = 3; }, 0},
      {"1999-12-31", [](WatchSettings& r) { r.Date = 19991231; }, 102},
      {"2001-02-29", [](WatchSettings& r) { r.Date = 20010229; }, 102},
      {"2024-13-01", [](WatchSettings& r) { r.Date = 20241301; }, 102},
  };
  for (const Case& c : cases) {
    frame::SetErrorCode(7);
    WatchSettings r = Sample();
    c.spoil(r);
    EXPECT_EQ(fnQuibra_PrepareWatchSettings(&r), 0) << c.what;
    EXPECT_EQ(fnQuibra_GetErrorCode(), c.error == 0 ? 7 : c.error) << c.what;
    EXPECT_EQ(SentImage(9001, 0), before) << c.what;
  }
  w = Sample();
  w.TimeOfDay = 86399;
  w.Date = 20000229;
  EXPECT_EQ(fnQuibra_PrepareWatchSettings(&w), 1);
}

TEST_F(WatchSettingsTest, MinusOneTakesThePcClock) {
  set_today(2024, 3, 5, 10, 20, 30);
  WatchSettings w = Sample();
  w.TimeOfDay = -1;
  w.SecondTimeOfDay = -1;
  w.Date = -1;
  ASSERT_EQ(fnQuibra_PrepareWatchSettings(&w), 1);
  EXPECT_EQ(w.TimeOfDay, 37230);
  EXPECT_EQ(w.SecondTimeOfDay, 37200);
  EXPECT_EQ(w.Date, 20240305);

  WatchSettings r;
  std::memset(&r, 0x33, sizeof r);
  EXPECT_EQ(fnQuibra_ResetWatchSettings(&r), &r);
  EXPECT_TRUE(SameRecord(r, WatchSettings{36, 37230, 37230 - 21600, 0, 1, 0, 20240305, 0, 25200}));
  set_today(2024, 3, 5, 3, 0, 0);
  fnQuibra_ResetWatchSettings(&r);
  EXPECT_EQ(r.SecondTimeOfDay, 75600);  // 21:00 the day before
}

TEST_F(WatchSettingsTest, UnPackTakesTheHoursBackFromTheTwelveHourForm) {
  // 12:30:00 PM, 2024-01-07, alarm 12 AM (= 00:00) in the first time's form, second time
  // 11:59 PM; flags: time PM, TwelveHour, SecondTimePm, SecondTwelveHour.
  SetReadImage({0x00, 0x30, 0x12, 0x07, 0x24, 0x61, 0x00, 0x12, 0x59, 0x11, 0x6A});
  WatchSettings w;
  std::memset(&w, 0x44, sizeof w);
  ASSERT_EQ(fnQuibra_UnPackWatchSettings(&w), 1);
  EXPECT_TRUE(SameRecord(w, WatchSettings{36, 45000, 86340, 1, 1, 0, 20240107, 0, 0}));
  // Hour 12 with PM clear in 12-hour form is midnight.
  SetReadImage({0x05, 0x00, 0x12});
  protocol::SetMessageByte(9002, 0, 16, 0x08);
  fnQuibra_UnPackWatchSettings(&w);
  EXPECT_EQ(w.TimeOfDay, 5);
}

TEST_F(WatchSettingsTest, RoundTripThroughASimulatedUnitAndThroughTheDataFile) {
  ASSERT_TRUE(start_unit(12));
  WatchSettings sent = Sample();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendWatchSettings(&p, &sent), 1);
  EXPECT_EQ(last_write(9001).payload,
            (Bytes{0x00, 0x30, 0x12, 0x07, 0x24, 0x61, 0x00, 0x07, 0x02, 0x01, 0x0E}));
  WatchSettings got{};
  ASSERT_EQ(fnQuibra_ReadWatchSettings(&p, &got), 1);
  EXPECT_TRUE(SameRecord(got, sent));

  // Through the data file: what was written comes back into the caller's record.
  WatchSettings again = Sample();
  p = write_file();
  ASSERT_EQ(fnQuibra_SendWatchSettings(&p, &again), 1);
  WatchSettings loaded{};
  p = read_file();
  ASSERT_EQ(fnQuibra_SendWatchSettings(&p, &loaded), 1);
  EXPECT_TRUE(SameRecord(loaded, sent));
  EXPECT_TRUE(speaker_.heard.empty());
}

}  // namespace
}  // namespace quibra::testing

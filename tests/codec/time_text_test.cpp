// The time texts of durations and times of day, in every mode and locale form.
#include "codec/time_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quibra::codec {
namespace {

TimeLocale Locale(const char* separator, bool leading_zero, bool twelve_hour, const char* am = "",
                  const char* pm = "") {
  TimeLocale l;
  l.separator = separator;
  l.hour_leading_zero = leading_zero;
  l.twelve_hour = twelve_hour;
  l.am = am;
  l.pm = pm;
  return l;
}

TEST(TimeFormatTest, DurationModes) {
  const auto l = Locale(":", false, false);
  // 452967 tenths = 45296.7 s = 12 h 34 min 56.7 s.
  EXPECT_EQ(FormatTimeText(452967, 0, l), "12:34");
  EXPECT_EQ(FormatTimeText(452967, 1, l), "12:34:56");
  EXPECT_EQ(FormatTimeText(452967, 2, l), "12.6");
  EXPECT_EQ(FormatTimeText(452967, 3, l), "755");  // 754.93 minutes, rounded
  EXPECT_EQ(FormatTimeText(452967, 4, l), "45296");
  EXPECT_EQ(FormatTimeText(452967, 5, l), "754:56");
  EXPECT_EQ(FormatTimeText(452967, 6, l), "12:34:56.7");
  EXPECT_EQ(FormatTimeText(452967, 12, l), "754:56.7");
  EXPECT_EQ(FormatTimeText(36005, 7, l), "01:00:00.5");
  EXPECT_EQ(FormatTimeText(36005, 5, l), "60:00");
  EXPECT_EQ(FormatTimeText(36005, 16, l), "");
  EXPECT_EQ(FormatTimeText(36005, -1, l), "");
}

TEST(TimeFormatTest, LocaleSeparatorButNotForTheFixedMode) {
  const auto l = Locale(".", true, true);
  EXPECT_EQ(FormatTimeText(36005, 5, l), "60.00");
  EXPECT_EQ(FormatTimeText(36005, 6, l), "1.00.00.5");
  EXPECT_EQ(FormatTimeText(36005, 7, l), "01:00:00.5");
}

TEST(TimeFormatTest, TimeOfDayModesFollowTheLocaleClock) {
  const auto twelve = Locale(":", false, true);
  EXPECT_EQ(FormatTimeText(452967, 8, twelve), "12:34:56.7 PM");
  EXPECT_EQ(FormatTimeText(452967, 9, twelve), "12:34:56 PM");
  EXPECT_EQ(FormatTimeText(452967, 11, twelve), "12:34:56");
  EXPECT_EQ(FormatTimeText(452967, 13, twelve), "12:34 PM");
  EXPECT_EQ(FormatTimeText(452967, 15, twelve), "12:34");
  EXPECT_EQ(FormatTimeText(0, 13, twelve), "12:00 AM");

  // 111090 tenths = 3:05:09.0
  const auto day = Locale(":", true, false, "vm", "nm");
  EXPECT_EQ(FormatTimeText(111090, 9, day), "03:05:09");
  EXPECT_EQ(FormatTimeText(111090, 10, day), "03:05:09 vm");
  EXPECT_EQ(FormatTimeText(111090, 14, day), "03:05 vm");
  EXPECT_EQ(FormatTimeText(111090 + 12 * 36000, 14, day), "03:05 nm");
  EXPECT_EQ(FormatTimeText(111090, 13, day), "03:05");
}

TEST(TimeFormatTest, HoursOfTheDayAreReducedModulo24) {
  const auto l = Locale(":", true, false);
  EXPECT_EQ(FormatTimeText(25 * 36000, 15, l), "01:00");
  EXPECT_EQ(FormatTimeText(25 * 36000, 14, l), "01:00 AM");
  EXPECT_EQ(FormatTimeText(25 * 36000, 1, l), "25:00:00");  // a duration is not reduced
}

}  // namespace
}  // namespace quibra::codec

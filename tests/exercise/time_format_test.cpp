#include "exercise/time_format.h"
#include "codec/time_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"
#include "support/module_fixture.h"

namespace quibra::exercise {
namespace {

codec::TimeLocale Locale(const char* separator, bool leading_zero, bool twelve_hour,
                         const char* am = "", const char* pm = "") {
  codec::TimeLocale l;
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
  EXPECT_EQ(codec::FormatTimeText(452967, 0, l), "12:34");
  EXPECT_EQ(codec::FormatTimeText(452967, 1, l), "12:34:56");
  EXPECT_EQ(codec::FormatTimeText(452967, 2, l), "12.6");
  EXPECT_EQ(codec::FormatTimeText(452967, 3, l), "755");  // 754.93 minutes, rounded
  EXPECT_EQ(codec::FormatTimeText(452967, 4, l), "45296");
  EXPECT_EQ(codec::FormatTimeText(452967, 5, l), "754:56");
  EXPECT_EQ(codec::FormatTimeText(452967, 6, l), "12:34:56.7");
  EXPECT_EQ(codec::FormatTimeText(452967, 12, l), "754:56.7");
  EXPECT_EQ(codec::FormatTimeText(36005, 7, l), "01:00:00.5");
  EXPECT_EQ(codec::FormatTimeText(36005, 5, l), "60:00");
  EXPECT_EQ(codec::FormatTimeText(36005, 16, l), "");
  EXPECT_EQ(codec::FormatTimeText(36005, -1, l), "");
}

TEST(TimeFormatTest, LocaleSeparatorButNotForTheFixedMode) {
  const auto l = Locale(".", true, true);
  EXPECT_EQ(codec::FormatTimeText(36005, 5, l), "60.00");
  EXPECT_EQ(codec::FormatTimeText(36005, 6, l), "1.00.00.5");
  EXPECT_EQ(codec::FormatTimeText(36005, 7, l), "01:00:00.5");
}

TEST(TimeFormatTest, TimeOfDayModesFollowTheLocaleClock) {
  const auto twelve = Locale(":", false, true);
  EXPECT_EQ(codec::FormatTimeText(452967, 8, twelve), "12:34:56.7 PM");
  EXPECT_EQ(codec::FormatTimeText(452967, 9, twelve), "12:34:56 PM");
  EXPECT_EQ(codec::FormatTimeText(452967, 11, twelve), "12:34:56");
  EXPECT_EQ(codec::FormatTimeText(452967, 13, twelve), "12:34 PM");
  EXPECT_EQ(codec::FormatTimeText(452967, 15, twelve), "12:34");
  EXPECT_EQ(codec::FormatTimeText(0, 13, twelve), "12:00 AM");

  // 111090 tenths = 3:05:09.0
  const auto day = Locale(":", true, false, "vm", "nm");
  EXPECT_EQ(codec::FormatTimeText(111090, 9, day), "03:05:09");
  EXPECT_EQ(codec::FormatTimeText(111090, 10, day), "03:05:09 vm");
  EXPECT_EQ(codec::FormatTimeText(111090, 14, day), "03:05 vm");
  EXPECT_EQ(codec::FormatTimeText(111090 + 12 * 36000, 14, day), "03:05 nm");
  EXPECT_EQ(codec::FormatTimeText(111090, 13, day), "03:05");
}

TEST(TimeFormatTest, HoursOfTheDayAreReducedModulo24) {
  const auto l = Locale(":", true, false);
  EXPECT_EQ(codec::FormatTimeText(25 * 36000, 15, l), "01:00");
  EXPECT_EQ(codec::FormatTimeText(25 * 36000, 14, l), "01:00 AM");
  EXPECT_EQ(codec::FormatTimeText(25 * 36000, 1, l), "25:00:00");  // a duration is not reduced
}

class FormatTimeValueTest : public testing::ModuleTest {};

TEST_F(FormatTimeValueTest, UsesTheLocaleInForceAndTheLibraryBuffer) {
  platform::FixedLocale dotted(Locale(".", false, false));
  platform::set_locale(&dotted);
  const char* first = FormatTimeValue(36005, 5);
  EXPECT_STREQ(first, "60.00");
  const char* second = FormatTimeValue(36005, 7);
  EXPECT_EQ(first, second);  // the same buffer, overwritten
  EXPECT_STREQ(second, "01:00:00.5");

  platform::FixedLocale no_separator(Locale("", false, false));
  platform::set_locale(&no_separator);
  EXPECT_STREQ(FormatTimeValue(36005, 0), "1:00");
  platform::set_locale(nullptr);
}

}  // namespace
}  // namespace quibra::exercise

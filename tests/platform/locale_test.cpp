#include "platform/locale.h"

#include <gtest/gtest.h>

#include "platform/registry.h"

namespace quibra::platform {
namespace {

TEST(TimePatternTest, HourStyleAndSeparator) {
  codec::TimeLocale l = ParseTimePattern("%H:%M:%S", "");
  EXPECT_EQ(l.separator, ":");
  EXPECT_TRUE(l.hour_leading_zero);
  EXPECT_FALSE(l.twelve_hour);

  l = ParseTimePattern("%r", "%l.%M.%S %p");
  EXPECT_EQ(l.separator, ".");
  EXPECT_FALSE(l.hour_leading_zero);
  EXPECT_TRUE(l.twelve_hour);

  l = ParseTimePattern("%I:%M:%S %p", "");
  EXPECT_TRUE(l.hour_leading_zero);
  EXPECT_TRUE(l.twelve_hour);

  l = ParseTimePattern("%T", "");
  EXPECT_EQ(l.separator, ":");
  EXPECT_TRUE(l.hour_leading_zero);

  l = ParseTimePattern("%k h %M", "");
  EXPECT_EQ(l.separator, " h ");
  EXPECT_FALSE(l.hour_leading_zero);

  l = ParseTimePattern("%-H.%M", "");
  EXPECT_EQ(l.separator, ".");
  EXPECT_FALSE(l.hour_leading_zero);
}

TEST(LocaleRegistryTest, ReplacementAndReturn) {
  codec::TimeLocale fixed;
  fixed.separator = "h";
  FixedLocale replacement(fixed);
  set_locale(&replacement);
  EXPECT_EQ(locale().time_locale().separator, "h");
  set_locale(nullptr);
  EXPECT_EQ(&locale(), &system_locale());
  EXPECT_FALSE(locale().time_locale().separator.empty());
}

}  // namespace
}  // namespace quibra::platform

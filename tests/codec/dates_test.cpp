#include "codec/dates.h"

#include <gtest/gtest.h>

namespace quibra::codec {
namespace {

TEST(DatesTest, MakeAndSplit) {
  EXPECT_EQ(MakeDate(5, 12, 2026), 20261205);
  const DateParts d = SplitDate(19990731);
  EXPECT_EQ(d.year, 1999);
  EXPECT_EQ(d.month, 7);
  EXPECT_EQ(d.day, 31);
  EXPECT_EQ(DateYear(20040229), 2004);
  EXPECT_EQ(DateMonth(20040229), 2);
  EXPECT_EQ(DateDay(20040229), 29);
}

TEST(DatesTest, ValidityFollowsTheCalendarAndTheYearRange) {
  EXPECT_TRUE(IsValidDate(20040229));   // leap year
  EXPECT_FALSE(IsValidDate(20030229));  // common year
  EXPECT_TRUE(IsValidDate(20000229));   // divisible by 400
  EXPECT_FALSE(IsValidDate(19000229));  // divisible by 100 only
  EXPECT_FALSE(IsValidDate(20360101));  // past the last year
  EXPECT_TRUE(IsValidDate(20351231));
  EXPECT_TRUE(IsValidDate(19000101));
  EXPECT_FALSE(IsValidDate(18991231));
  EXPECT_FALSE(IsValidDate(20040431));  // April has 30 days
  EXPECT_TRUE(IsValidDate(20040430));
  EXPECT_FALSE(IsValidDate(20041301));
  EXPECT_FALSE(IsValidDate(20040100));
  EXPECT_FALSE(IsValidDate(0));
  EXPECT_FALSE(IsValidDate(-20040101));
}

TEST(DatesTest, DayNumbersAndWeekdays) {
  EXPECT_EQ(DayNumber(20000101), 2451545);
  EXPECT_EQ(DayNumber(20000301), 2451605);
  EXPECT_EQ(DaysBetween(20040101, 20050101), 366);
  EXPECT_EQ(DaysBetween(20050101, 20040101), -366);
  EXPECT_EQ(DaysBetween(20040228, 20040301), 2);
  EXPECT_EQ(Weekday(20000101), 5);  // a Saturday
  EXPECT_EQ(Weekday(20261207), 0);  // a Monday
  EXPECT_EQ(Weekday(20261206), 6);  // a Sunday
}

TEST(DatesTest, AddToDateNormalisesLikeACalendar) {
  EXPECT_EQ(AddToDate(20040131, 0, 1, 0, 0), 20040302);  // February 31 of a leap year
  EXPECT_EQ(AddToDate(20041231, 1, 0, 0, 0), 20050101);
  EXPECT_EQ(AddToDate(20040301, -1, 0, 0, 0), 20040229);
  EXPECT_EQ(AddToDate(20040115, 0, -13, 0, 0), 20021215);
  EXPECT_EQ(AddToDate(20040115, 400, 0, 0, 0), 20050218);
  EXPECT_EQ(AddToDate(20040115, 0, 0, 3, 0), 20070115);
}

TEST(DatesTest, AddToDateKeepsTheInputOutsideTheRange) {
  EXPECT_EQ(AddToDate(20350101, 0, 0, 1, 0), 20350101);  // 2036 is too late
  EXPECT_EQ(AddToDate(20351231, 1, 0, 0, 0), 20351231);
  EXPECT_EQ(AddToDate(20040115, 0, 0, -5, 2000), 20040115);  // below the minimum year
  EXPECT_EQ(AddToDate(20040115, 0, 0, -4, 2000), 20000115);
  EXPECT_EQ(AddToDate(19700101, -1, 0, 0, 0), 19700101);
  EXPECT_EQ(AddToDate(0, 1, 0, 0, 0), 0);
}

}  // namespace
}  // namespace quibra::codec

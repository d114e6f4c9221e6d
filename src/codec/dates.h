// Calendar dates as the wrist units and the exercise files carry them: a signed 32-bit decimal
// yyyymmdd (year * 10000 + month * 100 + day). Plain functions without state.
#pragma once

#include <cstdint>

namespace quibra::codec {

struct DateParts {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
};

// day, month, year -> yyyymmdd. No check: MakeDate(31, 2, 2001) is 20010231.
int32_t MakeDate(int32_t day, int32_t month, int32_t year);
// yyyymmdd -> its fields (truncating decimal division; no check).
DateParts SplitDate(int32_t date);
int32_t DateYear(int32_t date);
int32_t DateMonth(int32_t date);
int32_t DateDay(int32_t date);

bool IsLeapYear(int32_t year);
// True when the day exists in that month of that (Gregorian) year; no range on the year.
bool IsCalendarDay(int32_t day, int32_t month, int32_t year);
// True when day is 1..31, month 1..12, year 1900..2035, the day exists in that month, and
// February 29 only in a leap year. False for the date 0.
bool IsValidDate(int32_t date);

// A continuous day number (the Julian day number for valid dates: 20000301 -> 2451605).
int32_t DayNumber(int32_t date);
// DayNumber(b) - DayNumber(a).
int32_t DaysBetween(int32_t a, int32_t b);
// 0..6 with Monday = 0 and Sunday = 6.
int32_t Weekday(int32_t date);

// Adds days, months and years (each may be negative) to a date and normalises the result the
// way a calendar does: 20040131 + 1 month is 20040302. Returns the input unchanged when the
// result falls outside 1970..2035 or below a non-zero min_year.
int32_t AddToDate(int32_t date, int32_t days, int32_t months, int32_t years, int32_t min_year);

}  // namespace quibra::codec

// Times of day and durations in tenths of a second, the 12/24-hour clock, and the time texts
// that follow a locale's conventions (separator, hour leading zero, 12/24-hour, AM/PM designators).
#pragma once

#include <cstdint>
#include <string>

namespace quibra::codec {

// What the time texts need of the user's locale.
struct TimeLocale {
  std::string separator = ":";  // between hours, minutes and seconds
  bool hour_leading_zero = false;
  bool twelve_hour = false;  // the user's time format is 12-hour
  std::string am;            // designators; empty when the locale gives none
  std::string pm;
};

// A time value (count of 1/10 s) split with truncating division: s = v / 10,
// hours = s / 3600, minutes = (s - 3600 hours) / 60, seconds the rest, tenths = v - 10 s.
struct TimeParts {
  int32_t hours = 0;
  int32_t minutes = 0;
  int32_t seconds = 0;
  int32_t tenths = 0;
  int32_t total_seconds = 0;
};
TimeParts SplitTimeValue(int32_t value);

// 12-hour to 24-hour: 12 am -> 0, 1..11 pm -> 13..23, anything else unchanged.
int32_t To24Hour(int32_t hours, bool pm);
// 24-hour to 12-hour in place; returns the pm flag: 0 -> 12 am, 12 -> 12 pm, 13..23 -> 1..11 pm,
// 1..11 am. Other values are left alone and count as am.
bool To12Hour(int32_t& hours);

// The time text of value v in one of the modes 0..15 (see time_format.cpp), with the given
// locale. An unknown mode gives an empty text.
std::string FormatTimeText(int32_t value, int32_t mode, const TimeLocale& locale);

}  // namespace quibra::codec

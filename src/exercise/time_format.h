// Times of day and durations in tenths of a second, the 12/24-hour clock, and the time texts
// that follow the user's locale (separator, hour leading zero, 12/24-hour, AM/PM designators).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/locale.h"

namespace quibra::exercise {

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
std::string FormatTimeText(int32_t value, int32_t mode, const platform::TimeLocale& locale);

// The library-owned buffer behind FormatTimeValue (a Module member).
struct TimeText {
  std::array<char, 128> text{};
};

// The same with the locale in force (platform::locale()), written into the library-owned text
// buffer of the Module; the pointer stays valid until the next call.
const char* FormatTimeValue(int32_t value, int32_t mode);

}  // namespace quibra::exercise

// Small readers for the packed fields that the exercise images of the older units share.
#pragma once

#include <array>
#include <cstdint>

#include "codec/bcd.h"
#include "codec/dates.h"
#include "codec/time_text.h"
#include "exercise/exercise_locator.h"
#include "platform/today.h"

namespace quibra::exercise {

// The nine zone durations of an exercise summary, by parameter, in the order the units store
// them (three BCD bytes each: seconds, minutes, hours).
inline constexpr std::array<int32_t, 9> kZoneTimeParams = {71, 70, 69, 74, 73, 72, 77, 76, 75};

// Halves up, by truncation: the units' own rounding.
inline int32_t RoundHalfUp(double x) {
  return static_cast<int32_t>(x + 0.5);
}

// Two 12-bit values packed in three bytes: the first in byte 0 and the low nibble of byte 1, the
// second in the high nibble of byte 1 and byte 2.
inline int32_t TwelveBit(const MemoryReader& m, int32_t at, bool second) {
  const int32_t b0 = m.byte(at);
  const int32_t b1 = m.byte(at + 1);
  const int32_t b2 = m.byte(at + 2);
  return second ? (b1 >> 4) + b2 * 16 : b0 + (b1 & 15) * 256;
}

// Three BCD bytes seconds, minutes, hours -> 1/10 s.
inline int32_t TimeTriple(const MemoryReader& m, int32_t at) {
  return (codec::BcdToBin(m.byte(at + 2)) * 3600 + codec::BcdToBin(m.byte(at + 1)) * 60 +
          codec::BcdToBin(m.byte(at))) *
         10;
}

// Three BCD bytes seconds, minutes, hours (bits 0..6; bit 7 belongs to another field) -> 1/10 s.
inline int32_t BcdTimeTriple(const MemoryReader& m, int32_t at) {
  return (codec::BcdToBin(m.byte(at + 2) & 0x7F) * 3600 + codec::BcdToBin(m.byte(at + 1)) * 60 +
          codec::BcdToBin(m.byte(at))) *
         10;
}

// Seconds and minutes in bits 0..5 with the tenths split over their bits 6..7 (low, high), and
// binary hours in bits 0..6 -> 1/10 s.
inline int32_t PackedLapTime(const MemoryReader& m, int32_t at) {
  const int32_t b0 = m.byte(at);
  const int32_t b1 = m.byte(at + 1);
  return (m.byte(at + 2) & 0x7F) * 36000 + (b1 & 63) * 600 + (b0 & 63) * 10 + (b0 >> 6) +
         (b1 >> 6) * 4;
}

// The outdoor units pack the date as 7 bits of year since 2000, 4 bits of month and 5 of day
// (A high, B low). A date outside 2003-01-01 .. 2099-12-31 or not on the calendar is replaced
// by today's date.
inline int32_t PackedDate(int32_t a, int32_t b) {
  const int32_t year = 2000 + (a >> 1);
  const int32_t month = (b >> 5) + 8 * (a & 1);
  const int32_t day = b & 31;
  if (year < 2003 || year > 2099 || !codec::IsCalendarDay(day, month, year))
    return platform::Today();
  return codec::MakeDate(day, month, year);
}

// The K-series date: a BCD two-digit year (above 89 it belongs to the previous century).
inline int32_t KSeriesDate(int32_t year_bcd, int32_t month, int32_t day) {
  int32_t year = 2000 + codec::BcdToBin(year_bcd);
  if (year > 2089) year -= 100;
  return codec::MakeDate(day, month, year);
}

// The K-series start hour: the unit stores 12-hour times when its 12-hour flag is set.
inline int32_t Hour24(int32_t hour, bool twelve_hour, bool pm) {
  return twelve_hour ? codec::To24Hour(hour, pm) : hour;
}

// A computed value truncated toward zero and held within the 32-bit range.
inline int32_t TruncateToInt32(double value) {
  if (!(value > -2147483648.0)) return INT32_MIN;  // also NaN
  if (value >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace quibra::exercise

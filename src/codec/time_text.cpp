#include "codec/time_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quibra::codec {
namespace {

// The hour style of a time-of-day mode (8..11, 13..15).
enum class HourStyle { kLocale, kAlways24, kAlways12 };

struct ClockMode {
  int32_t mode;
  HourStyle style;
  bool seconds;
  bool tenths;
};

constexpr ClockMode kClockModes[] = {
    {8, HourStyle::kLocale, true, true},      {9, HourStyle::kLocale, true, false},
    {10, HourStyle::kAlways12, true, false},  {11, HourStyle::kAlways24, true, false},
    {13, HourStyle::kLocale, false, false},   {14, HourStyle::kAlways12, false, false},
    {15, HourStyle::kAlways24, false, false},
};

template <typename... Args>
std::string Print(const char* format, Args... args) {
  char buffer[96];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  return n < 0 ? std::string() : std::string(buffer);
}

std::string ClockText(const TimeParts& t, const ClockMode& mode, const TimeLocale& locale) {
  int32_t hours = t.hours % 24;
  const bool twelve = mode.style == HourStyle::kAlways12 ||
                      (mode.style == HourStyle::kLocale && locale.twelve_hour);
  bool pm = false;
  if (twelve) pm = To12Hour(hours);
  const char* sep = locale.separator.c_str();
  const char* hour_format = locale.hour_leading_zero ? "%02d" : "%d";
  std::string text = Print(hour_format, hours) + Print("%s%02d", sep, t.minutes);
  if (mode.seconds) text += Print("%s%02d", sep, t.seconds);
  if (mode.tenths) text += Print(".%d", t.tenths);
  if (twelve) {
    const std::string& designator = pm ? locale.pm : locale.am;
    text += ' ';
    text += designator.empty() ? (pm ? "PM" : "AM") : designator;
  }
  return text;
}

}  // namespace

TimeParts SplitTimeValue(int32_t value) {
  TimeParts t;
  t.total_seconds = value / 10;
  t.hours = t.total_seconds / 3600;
  t.minutes = (t.total_seconds - 3600 * t.hours) / 60;
  t.seconds = t.total_seconds - 3600 * t.hours - 60 * t.minutes;
  t.tenths = value - 10 * t.total_seconds;
  return t;
}

int32_t To24Hour(int32_t hours, bool pm) {
  if (hours == 12 && !pm) return 0;
  if (hours >= 1 && hours <= 11 && pm) return hours + 12;
  return hours;
}

bool To12Hour(int32_t& hours) {
  if (hours == 0) {
    hours = 12;
    return false;
  }
  if (hours == 12) return true;
  if (hours >= 13 && hours <= 23) {
    hours -= 12;
    return true;
  }
  return false;
}

std::string FormatTimeText(int32_t value, int32_t mode, const TimeLocale& locale) {
  const TimeParts t = SplitTimeValue(value);
  const char* sep = locale.separator.c_str();
  const int32_t total_minutes = 60 * t.hours + t.minutes;
  switch (mode) {
    case 0:
      return Print("%d%s%02d", t.hours, sep, t.minutes);
    case 1:
      return Print("%d%s%02d%s%02d", t.hours, sep, t.minutes, sep, t.seconds);
    case 2:
      return Print("%.1lf", t.total_seconds / 3600.0);
    case 3:
      return Print("%d", static_cast<int>(std::lround(t.total_seconds / 60.0)));
    case 4:
      return Print("%d", t.total_seconds);
    case 5:
      return Print("%d%s%02d", total_minutes, sep, t.seconds);
    case 6:
      return Print("%d%s%02d%s%02d.%d", t.hours, sep, t.minutes, sep, t.seconds, t.tenths);
    case 7:  // a fixed form for files, whatever the locale
      return Print("%02d:%02d:%02d.%d", t.hours, t.minutes, t.seconds, t.tenths);
    case 12:
      return Print("%d%s%02d.%d", total_minutes, sep, t.seconds, t.tenths);
    default:
      break;
  }
  for (const ClockMode& clock_mode : kClockModes) {
    if (clock_mode.mode == mode) return ClockText(t, clock_mode, locale);
  }
  return std::string();  // unknown mode: an empty text rather than a guess
}

}  // namespace quibra::codec

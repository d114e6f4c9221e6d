#include "codec/dates.h"

namespace quibra::codec {
namespace {

constexpr int32_t kMinValidYear = 1900;
constexpr int32_t kMaxValidYear = 2035;
// AddToDate goes through the host's local-time normalisation, which has no dates before 1970.
constexpr int32_t kMinNormalisedYear = 1970;
constexpr int32_t kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The inverse of DayNumber for day numbers of the common era.
DateParts FromDayNumber(int64_t jdn) {
  int64_t l = jdn + 68569;
  const int64_t n = 4 * l / 146097;
  l -= (146097 * n + 3) / 4;
  const int64_t i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  const int64_t j = 80 * l / 2447;
  DateParts parts;
  parts.day = static_cast<int32_t>(l - 2447 * j / 80);
  l = j / 11;
  parts.month = static_cast<int32_t>(j + 2 - 12 * l);
  parts.year = static_cast<int32_t>(100 * (n - 49) + i + l);
  return parts;
}

int64_t DayNumber64(int64_t year, int64_t month, int64_t day) {
  const int64_t m = 12 * year + month - 3;
  const int64_t y = m / 12;
  return day + (734 * m + 15) / 24 - 2 * y + y / 4 - y / 100 + y / 400 + 1721119;
}

}  // namespace

int32_t MakeDate(int32_t day, int32_t month, int32_t year) {
  return year * 10000 + month * 100 + day;
}

DateParts SplitDate(int32_t date) {
  return DateParts{date / 10000, (date / 100) % 100, date % 100};
}

int32_t DateYear(int32_t date) {
  return SplitDate(date).year;
}
int32_t DateMonth(int32_t date) {
  return SplitDate(date).month;
}
int32_t DateDay(int32_t date) {
  return SplitDate(date).day;
}

bool IsLeapYear(int32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsCalendarDay(int32_t day, int32_t month, int32_t year) {
  if (month < 1 || month > 12 || day < 1) return false;
  int32_t last = kDaysInMonth[month - 1];
  if (month == 2 && IsLeapYear(year)) last = 29;
  return day <= last;
}

bool IsValidDate(int32_t date) {
  const DateParts d = SplitDate(date);
  if (d.year < kMinValidYear || d.year > kMaxValidYear) return false;
  return IsCalendarDay(d.day, d.month, d.year);
}

int32_t DayNumber(int32_t date) {
  const DateParts d = SplitDate(date);
  return static_cast<int32_t>(DayNumber64(d.year, d.month, d.day));
}

int32_t DaysBetween(int32_t a, int32_t b) {
  return DayNumber(b) - DayNumber(a);
}

int32_t Weekday(int32_t date) {
  // Day number 0 was a Monday.
  const int32_t r = DayNumber(date) % 7;
  return r < 0 ? r + 7 : r;
}

int32_t AddToDate(int32_t date, int32_t days, int32_t months, int32_t years, int32_t min_year) {
  const DateParts d = SplitDate(date);
  // Months first (carrying into the years), then the day count from the first of that month,
  // which is how a calendar normalisation of day, month and year fields works out.
  const int64_t month_index = static_cast<int64_t>(d.month) - 1 + months;
  int64_t year = static_cast<int64_t>(d.year) + years + month_index / 12;
  int64_t month = month_index % 12;
  if (month < 0) {
    month += 12;
    year -= 1;
  }
  if (year < kMinNormalisedYear - 1 || year > kMaxValidYear + 1) return date;
  const int64_t jdn = DayNumber64(year, month + 1, 1) + (static_cast<int64_t>(d.day) - 1) + days;
  if (jdn < DayNumber64(kMinNormalisedYear, 1, 1) || jdn >= DayNumber64(kMaxValidYear + 1, 1, 1))
    return date;
  const DateParts result = FromDayNumber(jdn);
  if (min_year != 0 && result.year < min_year) return date;
  return MakeDate(result.day, result.month, result.year);
}

}  // namespace quibra::codec

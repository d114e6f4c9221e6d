// The two-byte date with which the running and cycling units mark their totals and test
// results: first byte bits 0-4 the day, bits 5-7 the month's low three bits; second byte bit 0
// the month's bit 3, bits 1-7 the year after 2000.
#pragma once

#include <cstdint>

namespace quibra::prvc {

struct UnitDateBytes {
  uint8_t first = 0;
  uint8_t second = 0;
};

// The date (yyyymmdd) the two bytes spell, whatever it is (day 0 or month 13 included).
int32_t DecodeUnitDate(uint8_t first, uint8_t second);

// The bytes of a date of 2000..2127; the caller checks the date first.
UnitDateBytes EncodeUnitDate(int32_t date);

// The dates a unit keeps as reset dates: real calendar days from 2003-01-01 to 2099-12-31.
bool IsUnitResetDate(int32_t date);

}  // namespace quibra::prvc

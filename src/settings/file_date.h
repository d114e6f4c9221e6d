// The two-byte date with which the newer units (the outdoor units and the running and cycling
// units) identify an exercise file in a delete command, and date their distance totals.
//
// The units' own documentation gives no layout for these two bytes, so the library uses the
// packed form that fits a calendar date into 16 bits without loss for the years the units live
// in: bits 15..9 the year minus 1980 (0..127), bits 8..5 the month, bits 4..0 the day; the low
// byte is sent first. A date outside 1980..2107, or one that is not a calendar day, packs as
// 0 0 ("no date").
#pragma once

#include <array>
#include <cstdint>

namespace quibra::settings {

// yyyymmdd -> the two bytes in sending order (low byte first).
std::array<uint8_t, 2> PackFileDate(int32_t date);
// The reverse; 0 for the two bytes 0 0 or for bytes that name no calendar day.
int32_t UnpackFileDate(uint8_t low, uint8_t high);

}  // namespace quibra::settings

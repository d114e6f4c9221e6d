// Field readers that the exercise files of the running and cycling units share.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "exercise/exercise_locator.h"
#include "exercise/unit_conversion.h"

namespace quibra::exercise {

// The file's own copy of the unit's software version. The download takes the version from
// here too (byte 4 of a file is the high byte of a continued product code), and the decoders
// read it from the file itself, so that a file loaded from disk decodes as it did when it came.
inline constexpr int32_t kFileVersionByte = 5;
// The header origin: the exercise name starts here.
inline constexpr int32_t kFileHeaderOrigin = 6;

// The exercise name of the file header: 10 device codes from the header origin, in the newer
// units' character table, without the trailing blanks.
std::string FileExerciseName(const MemoryReader& memory);

// A distance in three bytes: the low two bits of the first are quarters, the rest counts on in
// steps of 64 and 16384.
inline double FileDistance(const MemoryReader& m, int32_t at) {
  const int32_t g0 = m.byte(at);
  return (g0 >> 2) + 64.0 * m.byte(at + 1) + 16384.0 * m.byte(at + 2) + 0.25 * (g0 & 3);
}

// A temperature byte counts degrees Fahrenheit from -22; the record keeps 1/10 degree Celsius
// in whole degrees.
inline double FileTemperatureCelsius(int32_t c) {
  return ConvertUnit(c - 22, kFahrenheit, kCelsius);
}
inline int32_t FileTemperatureTenths(int32_t c) {
  return 10 * static_cast<int32_t>(std::lround(FileTemperatureCelsius(c)));
}

// A 16-bit altitude in feet (signed), in whole metres.
inline int32_t FeetToMetres(int32_t feet) {
  return static_cast<int32_t>(std::lround(feet * 0.3048));
}

// Seconds and minutes in bits 0..5 with the tenths split over their bits 6..7 (low, then high
// times 4), then binary hours: the whole duration in 1/10 s. `hour_mask` keeps the bits of the
// hour byte that count.
inline int32_t FileDurationTenths(const MemoryReader& m, int32_t at, int32_t hour_mask) {
  const int32_t b0 = m.byte(at);
  const int32_t b1 = m.byte(at + 1);
  const int32_t tenths = (b0 >> 6) + (b1 >> 6) * 4;
  return ((m.byte(at + 2) & hour_mask) * 3600 + (b1 & 63) * 60 + (b0 & 63)) * 10 + tenths;
}

}  // namespace quibra::exercise

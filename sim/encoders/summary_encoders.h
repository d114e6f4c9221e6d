// Writes the images of the units that keep finished exercise summaries without samples:
// monitor type 30 (one exercise, laps stored newest first), 31 (several exercises with 12-byte
// laps) and 32 (37-byte exercise records). Their fields lie at fixed positions; the image kind
// only decides where the unit names itself (see image_layout.h).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/encoders/image_layout.h"

namespace quibra::sim {

struct Type30Lap {
  int32_t tenths = 0;  // split time, 1/10 s since the start
  int32_t heart_rate = 0, average = 0, maximum = 0;
  // With speed: a 16-bit value, the distance in 1/100 km (the library reports m / 10 as it
  // stands: raw × 10), and the lap's speed value.
  int32_t value = 0, distance = 0, speed = 0;
};

struct Type30Exercise {
  bool time_limits = false;
  int32_t option131 = 0;                    // 0..3
  bool speed = false;                       // 12-byte laps with distance and speed
  int32_t option133 = 1;                    // 1..4
  int32_t year = 2020, month = 1, day = 1;  // 2000..2127
  int32_t hour = 0, minute = 0, second = 0;
  int32_t duration_tenths = 0;  // hours up to 127
  int32_t byte36 = 0, byte37 = 0, byte134 = 0;
  int32_t total = 0;                      // 16-bit, parameters 80 and 91
  std::array<int32_t, 8> words{};         // parameters 14, 13, 16, 15, 18, 17, 111, 110
  std::array<int32_t, 9> zone_seconds{};  // parameters 71, 70, 69, 74, 73, 72, 77, 76, 75
  std::array<int32_t, 3> more_seconds{};  // parameters 114, 113, 112
  std::array<int32_t, 10> bytes{};        // parameters 115..124
  std::array<int32_t, 5> late_seconds{};  // parameters 125..129
  int32_t distance = 0;                   // 16-bit; parameter 38 is ten times it
  int32_t pace = 0;                       // 16-bit, parameter 130
  int32_t value135 = 0;                   // 16-bit
  std::vector<Type30Lap> laps;            // oldest first, at most 255
};

struct Type31Lap {
  int32_t kind = 0;
  int32_t tenths = 0;
  int32_t heart_rate = 0, average = 0;
  int32_t speed = 0;  // 16-bit
  int32_t cadence = 0, average_cadence = 0;
  int32_t distance = 0;  // 16-bit, 1/10 km (the library reports it × 100)
};

struct Type31Exercise {
  int32_t option131 = 0;  // 0..3
  bool option133 = false;
  bool imperial = false;
  int32_t duration_hundredths = 0;
  int32_t byte36 = 0, byte37 = 0;
  std::array<int32_t, 3> zone_seconds{};  // parameters 70, 69, 71
  int32_t total = 0;                      // 16-bit
  std::array<int32_t, 3> words{};         // parameters 38, 43, 44
  int32_t average_cadence = 0, maximum_cadence = 0;
  int32_t year = 2020, month = 1, day = 1;  // 1990..2089
  int32_t hour = 0, minute = 0, second = 0;
  int32_t byte134 = 0;
  int32_t limit_low = 0, limit_high = 0;  // parameters 14, 13
  std::vector<Type31Lap> laps;
};

struct Type32Exercise {
  // Bit 3 clear: speed; bits 0..1 limit form; bit 4 cadence; bit 5 imperial; bits 1..2 and bit
  // 2 two more options.
  int32_t options = 0;
  int32_t year = 2020, month = 1, day = 1;  // 1990..2089
  int32_t start_seconds = 0;
  int32_t duration_seconds = 0;
  int32_t seconds154 = 0;
  std::array<int32_t, 3> late_seconds{};  // parameters 68, 67, 66
  std::array<int32_t, 4> bytes{};         // parameters 20, 19, 36, 37
  int32_t total = 0;                      // 16-bit
  int32_t byte108 = 0;
  int32_t distance = 0;  // 16-bit, parameter 38
  int32_t value44 = 0, value43 = 0;
  int32_t cadence104 = 0, cadence103 = 0;
};

std::vector<uint8_t> Type30Image(const Type30Exercise& exercise, ImageKind kind,
                                 uint8_t product_code = 30, uint8_t version = 0);
// At most 15 exercises.
std::vector<uint8_t> Type31Image(const std::vector<Type31Exercise>& exercises, ImageKind kind,
                                 uint8_t product_code = 31, uint8_t version = 0);
std::vector<uint8_t> Type32Image(const std::vector<Type32Exercise>& exercises, ImageKind kind,
                                 uint8_t product_code = 32, uint8_t version = 0);

}  // namespace quibra::sim

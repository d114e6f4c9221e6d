// Writes outdoor-unit exercises (monitor types 20 and 21) in the unit's memory layout: header,
// 22-byte laps and 3-byte samples stored top down.
#pragma once

#include <cstdint>
#include <vector>

namespace quibra::sim {

struct OutdoorLap {
  int32_t kind = 0;     // 1, 3 mark lap kinds, 5 a limit swap
  int32_t seconds = 0;  // since the exercise start
  int32_t heart_rate = 0;
  int32_t altitude = 0;     // metres
  int32_t pressure = 0;     // raw air-pressure value
  int32_t temperature = 0;  // degrees, -176..79
  int32_t total = 0;
  int32_t counter = 0;
  int32_t limit_set = 0;  // with kind 5
};

struct OutdoorSample {
  int32_t heart_rate = 0;
  bool pressure = false;  // the value is an air pressure (else an altitude)
  int32_t value = 0;      // 15-bit raw value
};

struct OutdoorExercise {
  int32_t year = 2024, month = 1, day = 1;
  int32_t start_h = 0, start_m = 0, start_s = 0;
  int32_t duration_s = 0;
  int32_t interval_code = 0;  // 0: 5 s, 1: 15 s, 2: 60 s, 3: 300 s
  bool metric = true;
  bool fine_scale = false;
  bool has_altitude = true;
  int32_t altitude_a = 0, altitude_b = 0;  // metres, summary values
  int32_t limit1_low = 0, limit1_high = 0;
  int32_t limit2_low = 0, limit2_high = 0;
  int32_t limit3_low = 0, limit3_high = 0;
  int32_t total = 0;
  std::vector<OutdoorLap> laps;
  std::vector<OutdoorSample> samples;
};

// One exercise as the chain stores it (head, header, laps, samples, closing byte).
std::vector<uint8_t> EncodeOutdoorExercise(const OutdoorExercise& exercise, int32_t monitor_type);
// A single-exercise image: the product code at position 3 (0: none, the library keeps the unit
// type it has), the version at 4, then the exercise.
std::vector<uint8_t> OutdoorSingleImage(const OutdoorExercise& exercise, int32_t monitor_type,
                                        uint8_t product_code = 0, uint8_t version = 0);
// A whole-memory image: product code at position 2, version at 3, an empty note, and the chain
// of exercises from position 83.
std::vector<uint8_t> OutdoorWholeImage(const std::vector<OutdoorExercise>& exercises,
                                       int32_t monitor_type, uint8_t product_code,
                                       uint8_t version = 0);

}  // namespace quibra::sim

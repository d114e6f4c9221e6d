// Writes K-series exercises (monitor types 11, 12, 13, 15, 22, 23) in the units' memory layout:
// the exercise head, the header (limits as heart rates, percentages or times), the laps with
// their sensor groups and extended bytes, and the samples stored top down with speed, altitude,
// cadence, power, R-R deltas and limit-swap markers.
//
// Use: describe each exercise with a KSeriesExercise, then build the image the library reads,
//   sim::KSeriesSingleImage({run, ride, swim}, 22, 19, 3)   // as the unit sends its exercises
//   sim::KSeriesWholeImage({run, ride}, 22, 19, 3)          // a whole-memory dump
// Values are given as the library reports them where the layout keeps them exactly; raw unit
// values are named as such.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/encoders/image_layout.h"

namespace quibra::sim {

struct KSeriesLap {
  int32_t tenths = 0;  // split time, 1/10 s since the start (at most 99 h)
  int32_t heart_rate = 0;
  int32_t average = 0;
  int32_t maximum = 0;
  // Sensor groups of the types 12, 22, 23, written when the exercise records the channel.
  int32_t altitude = 0;     // metres (imperial: feet, a multiple of 5)
  int32_t ascent = 0;       // 16-bit lap total
  int32_t temperature = 0;  // degrees, -10..245 metric, 14..269 imperial
  int32_t cadence = 0;      // with speed and cadence
  int32_t power = 0;        // with speed and power, 16-bit
  int32_t distance = 0;     // with speed: 1/10 km (imperial: 1/10 mile), 16-bit
  int32_t speed = 0;        // with speed: raw 12-bit speed (the library reports speed / 1.6)
  int32_t lap_value = 0;    // with speed and extended laps: 0..999
  // Extended bytes (with extended laps).
  int32_t recovery_seconds = 0;  // 0..5999
  int32_t recovery_rate = 252;   // 0..251 heart rate; 252 stores none
  bool limit_swap = false;       // the lap marks a swap to the next limit set
  int32_t extra = 0;             // the last extended byte
};

struct KSeriesSample {
  // bpm; with R-R recording the running R-R interval in 1/1024 s.
  int32_t heart_rate = 0;
  // Type 22: 0..4 stores a swap to that limit set in place of the heart rate (the unit repeats
  // the previous heart rate); -1: a plain sample.
  int32_t limit_swap = -1;
  int32_t speed = 0;     // raw 11-bit speed (the library reports speed / 1.6)
  int32_t cadence = 0;   // 0..255
  int32_t altitude = 0;  // metres -512..7679 (imperial: feet, a multiple of 5)
  int32_t power = 0;     // 16-bit
  int32_t pedal_a = 0;   // the two raw pedalling bytes
  int32_t pedal_b = 0;
};

struct KSeriesLimit {
  bool present = true;
  // As heart rates or percentages: the two stored bytes. As times: the two bounds in s, whose
  // sum and difference are even; the centre lies below 100 minutes, the spread below 100 s.
  int32_t first = 0;   // parameters 14, 16, 18, 20
  int32_t second = 0;  // parameters 13, 15, 17, 19
};

enum class KSeriesLimitForm {
  kHeartRate,
  kPercent,  // types 22, 23: percentages of the maximum heart rate
  kTime,     // type 22 from unit version 3 on: centre and spread in s
};

struct KSeriesSensors {
  int32_t speed_code = 0;  // 0: no speed sensor; 1..15
  bool altitude = false;
  bool cadence = false;
  bool power = false;
};

struct KSeriesExercise {
  int32_t kind = 1;                          // header byte 3: 0 a basic exercise, type 13 also 8
  std::string name = "Ex";                   // up to 7 characters of the older units' device table
  bool marker = false;                       // bit 7 of the head's length byte
  int32_t year = 2007, month = 6, day = 15;  // years 1990..2089
  int32_t hour = 10, minute = 0, second = 0;
  bool twelve_hour = false;  // the unit stores the start on a 12-hour clock
  int32_t duration_tenths = 0;
  int32_t byte36 = 0, byte37 = 0;
  bool imperial = false;
  int32_t interval_code = 0;   // 0: 5 s, 1: 15 s, 2: 60 s, 3: 5 s (type 13: R-R recording)
  int32_t lap_type_code = -1;  // -1: no lap-type byte; else 0..15
  KSeriesLimitForm limit_form = KSeriesLimitForm::kHeartRate;
  std::array<KSeriesLimit, 3> limits{};
  KSeriesLimit fourth_limit{};   // types 22, 23
  int32_t max_heart_rate = 0;    // type 22 from version 3 on, percentage limits
  int32_t start_limit_set = 0;   // type 22: 1 or 2 starts the exercise on that set
  int32_t recovery_seconds = 0;  // 0..5999
  int32_t recovery_byte = 0;
  std::array<int32_t, 9> zone_seconds{};
  int32_t total = 0;  // 0..99999
  // Types 12, 22, 23.
  KSeriesSensors sensors{};
  int32_t trip_counter = 0;                          // 0..999999
  int32_t trip_value = 0;                            // 16-bit
  int32_t trip_value2 = 0;                           // 16-bit
  int32_t average_speed = 0, maximum_speed = 0;      // raw 12-bit, with speed
  int32_t average_cadence = 0, maximum_cadence = 0;  // with cadence
  std::array<int32_t, 3> altitude_summary{};         // -32767..32767, with altitude
  std::array<int32_t, 3> signed_summary{};           // -127..127 (imperial: 0..127)
  int32_t average_power = 0, maximum_power = 0;      // raw 12-bit, with power
  std::array<int32_t, 3> pedalling{};                // raw bytes, with power
  std::array<int32_t, 3> late_seconds{};             // types 22, 23
  bool extended_laps = false;
  std::vector<KSeriesLap> laps;
  std::vector<KSeriesSample> samples;  // the first sample first
};

// One exercise as the chain stores it. unit_version matters for type 22 (header size, sensor
// bits).
std::vector<uint8_t> EncodeKSeriesExercise(const KSeriesExercise& exercise, int32_t monitor_type,
                                           int32_t unit_version);
// What the unit sends for its exercises: product code at position 3, version at 4, the chain.
std::vector<uint8_t> KSeriesSingleImage(const std::vector<KSeriesExercise>& exercises,
                                        int32_t monitor_type, uint8_t product_code,
                                        uint8_t version);
// A whole-memory dump: product code at 2, version at 3, the note, the maximum heart rate that
// percentage limits fall back to at 64, the chain from position 79.
std::vector<uint8_t> KSeriesWholeImage(const std::vector<KSeriesExercise>& exercises,
                                       int32_t monitor_type, uint8_t product_code, uint8_t version,
                                       const Note& note = {}, uint8_t max_heart_rate = 0);

}  // namespace quibra::sim

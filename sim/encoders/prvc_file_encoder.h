// Writes the exercise files of the running and cycling units (monitor types 33..38) in the
// layout the library's file decoders read: the 5 bytes in front (product code at position 3,
// the unit version at 5), the fixed header from position 6, the model's summary, the paged data
// area (samples, R-R intervals) and the laps, which close the file.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/encoders/image_layout.h"

namespace quibra::sim {

// One sample record, in the channel units the library reports.
struct FileSample {
  int32_t heart_rate = 0;
  int32_t speed = 0;     // 1/10 km/h; at 1 s to 5 s in steps of 5 (the unit keeps half km/h)
  int32_t distance = 0;  // 16-bit, 1/10 m covered in the record (not reported)
  int32_t cadence = 0;
  int32_t altitude = 0;  // m
  int32_t power = 0;
  int32_t pedalling = 0;  // 16-bit: channel 6 low byte, channel 7 high byte
  // The extra values (channels 10..12).
  int32_t first = 0, first_byte = 0, nibble = 0;  // 20-bit, byte, 4-bit
  int32_t second = 0, second_byte = 0, two_bits = 0, one_bit = 0;
};

// Records recorded at one interval; every segment after the first starts with as many
// coarser-interval markers as it takes to reach its interval.
struct FileSegment {
  int32_t interval = 1;
  std::vector<FileSample> records;
};

struct FileLap {
  int32_t tenths = 0;  // split time, hours up to 127
  bool second_kind = false;
  int32_t heart_rate = 0, average = 0, maximum = 0;
  int32_t speed = 0, average_speed = 0;  // 16-bit, 1/256 km/h
  int32_t distance_quarters = 0;         // the distance counter × 4 (up to 2^22 - 1)
  int32_t cadence_value = 0;             // type 37: 16-bit
  int32_t cadence = 0, average_cadence = 0;
  int32_t altitude = 0;     // m above -768
  int32_t temperature = 0;  // raw byte
  int32_t ascent_feet = 0, descent_feet = 0;
  int32_t power = 0, power_value = 0, pedal_a = 0, pedal_b = 0;
};

struct FileExercise {
  int32_t type = 36;
  int32_t version = 5;
  uint8_t product_code = 0;
  std::string name;  // up to 10 characters of the newer units' character table
  bool speed = false, cadence = false, altitude = false, power = false, extra = false;
  bool trip = false;        // types 33, 35
  bool rr_capable = false;  // types 35, 37 (A), 34, 38 (B)
  bool incomplete = false;
  std::array<int32_t, 3> copied = {1, 0, 0};  // bytes 30..32; all 0 = no summary
  int32_t header_value = 0, total = 0, extra_kind = 0;
  int32_t year = 2026, month = 3, day = 15;
  int32_t start_seconds = 0;
  int32_t duration_tenths = 0;  // hours up to 255
  int32_t rest_hr = 0, vo2max = 0, temperature = 76;
  // Summary values.
  int32_t average_speed = 0, max_speed = 0;  // 1/256 km/h
  int32_t distance_quarters = 0;
  int32_t trip_value = 0;  // 0..99999999
  int32_t cadence_average = 0, cadence_max = 0;
  std::array<int32_t, 3> altitudes{};  // m above -768
  std::array<int32_t, 3> temperatures{};
  int32_t ascent_feet = 0, descent_feet = 0;
  int32_t power_average = 0, power_max = 0;
  int32_t scale = 1000;  // 1/1000: distance scale of types 36, 37, time scale of type 34, 38
  int32_t byte167 = 1;
  std::array<int32_t, 11> bytes{};         // parameters 115, 117, ..., 165
  std::array<int32_t, 10> zone_seconds{};  // parameters 125..129, 155..159
  std::vector<FileSegment> segments;
  std::vector<int32_t> rr_ms;
  std::vector<FileLap> laps;
};

// The two layouts: A for types 33, 35, 36, 37, B for 34 and 38.
Bytes EncodeFileExerciseA(const FileExercise& exercise);
Bytes EncodeFileExerciseB(const FileExercise& exercise);
Bytes EncodeFileExercise(const FileExercise& exercise);  // by the exercise's type

// Helpers the two layouts share.
namespace file_layout {
// The interval a coarser-interval marker switches to from `current` (the decoder's rule).
int32_t NextCoarser(int32_t current, bool layout_b);
// Appends the directory and the pages of the three kinds of data, each split into pages of
// 255 bytes.
void AppendPagedData(Bytes& out, const std::array<Bytes, 3>& data);
void Append8(Bytes& out, int32_t v);
void Append16(Bytes& out, int32_t v);
void AppendDistance(Bytes& out, int32_t quarters);
void AppendFront(Bytes& out, const FileExercise& e, int32_t interval_byte);
void AppendZoneGroup(Bytes& out, const FileExercise& e);
// The three altitudes, the three temperatures, ascent and descent of the summary (17 bytes).
void AppendAltitudeSummary(Bytes& out, const FileExercise& e);
// One sample record; the layouts differ only in the width of the speed and whether the
// record carries the distance covered.
void AppendRecord(Bytes& out, const FileExercise& e, const FileSample& s, bool wide_speed,
                  bool distance);
// Which groups of a lap record a model writes, where the units' sensors would have them.
struct LapShape {
  bool speed_cadence = false;  // a 16-bit cadence value and the cadences in the speed group
  bool temperature = false;    // in the altitude group
  bool descent = false;        // in the altitude group
  bool power = false;
  int32_t power_gap = 0;  // unused bytes after the power's 16-bit value
};
// One lap: `ticks` is its split time as the layout's clock counts it.
void AppendLap(Bytes& out, const FileExercise& e, const FileLap& l, int32_t ticks,
               const LapShape& shape);

// What sets one layout apart from the other; the plan of the file is the same.
struct LayoutParts {
  bool layout_b = false;               // for the interval a coarser-interval marker switches to
  std::span<const int32_t> intervals;  // by their code in the interval byte; 0 for any other
  int32_t rr_flag = 0, incomplete_flag = 0;  // their bits in the interval byte
  void (*summary)(Bytes& out, const FileExercise& e) = nullptr;
  void (*record)(Bytes& out, const FileExercise& e, const FileSample& s,
                 int32_t interval) = nullptr;
  void (*lap)(Bytes& out, const FileExercise& e, const FileLap& l) = nullptr;
};
// The front, the summary, the paged data (samples with their interval markers, R-R
// intervals) and the laps, last one first.
Bytes EncodeFile(const FileExercise& e, const LayoutParts& parts);
}  // namespace file_layout

}  // namespace quibra::sim

// The tool's one picture of an exercise, shaped like the HRM file: the [Params] values, the note,
// the laps as their five [IntTimes] rows, the [Trip] values and the samples of the channels the
// SMode says were recorded. The HRM reader fills it from a file, ModelFromStore from the library's
// record store, and every writer and the summary read only this, so a file and a download give
// the same output.
//
// Values keep the units' own scales and units: times in 1/10 s, speed in 1/10 km/h (1/10 mph
// when imperial), altitude in m (ft), lap distance in m (yd), temperature in 1/10 degree.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quibra::cli::formats {

// The SMode digits in file order: which channels the samples carry, whether the samples are the
// extended kind, and the unit system.
struct SMode {
  bool speed = false;
  bool cadence = false;
  bool altitude = false;
  bool power = false;
  bool balance = false;  // pedalling balance column
  bool index = false;    // pedalling index (adds no column)
  bool extended = false;
  bool imperial = false;
  bool pressure = false;  // air pressure column

  bool operator==(const SMode&) const = default;
};

// The recording interval that marks samples as beat-to-beat intervals in ms.
inline constexpr int32_t kRrInterval = 238;

struct ExerciseParams {
  int32_t version = 107;
  int32_t monitor = 0;  // monitor type number
  SMode smode;
  int32_t date = 0;           // yyyymmdd
  int32_t start_tenths = 0;   // time of day
  int32_t length_tenths = 0;  // duration
  int32_t interval = 0;       // s; kRrInterval: R-R recording
  // The three limit pairs (upper, lower) of the file: bpm.
  std::array<int32_t, 3> upper{};
  std::array<int32_t, 3> lower{};
  std::array<int32_t, 3> timer_tenths{};
  int32_t active_limit = 0;
  int32_t max_hr = 0;
  int32_t rest_hr = 0;
  int32_t start_delay = 0;
  int32_t vo2max = 0;
  int32_t weight = 0;

  // Limit pair k (0..2) as (low, high) when both are set; a file may hold a pair either way
  // round.
  std::optional<std::pair<int32_t, int32_t>> limits(size_t k) const {
    const int32_t low = std::min(lower[k], upper[k]);
    const int32_t high = std::max(lower[k], upper[k]);
    if (low <= 0) return std::nullopt;
    return std::make_pair(low, high);
  }

  bool operator==(const ExerciseParams&) const = default;
};

// One lap: the five [IntTimes] rows as written, rows[r][c] the value in column c of row r
// (row 0 column 0 is the split time in 1/10 s; columns a row does not have are 0).
struct Lap {
  static constexpr int kRows = 5;
  static constexpr int kColumns = 6;
  // How many values each row has in the file.
  static constexpr std::array<int, kRows> kRowWidth = {5, 6, 5, 6, 6};

  std::array<std::array<int32_t, kColumns>, kRows> rows{};

  int32_t split_tenths() const { return rows[0][0]; }
  int32_t heart_rate() const { return rows[0][1]; }
  int32_t min_hr() const { return rows[0][2]; }
  int32_t average_hr() const { return rows[0][3]; }
  int32_t max_hr() const { return rows[0][4]; }
  int32_t speed() const { return rows[1][3]; }
  int32_t cadence() const { return rows[1][4]; }
  int32_t altitude() const { return rows[1][5]; }
  int32_t distance() const { return rows[3][1]; }
  int32_t power() const { return rows[3][2]; }
  int32_t temperature_tenths() const { return rows[3][3]; }

  bool operator==(const Lap&) const = default;
};

// One [HRData] line. Channels the SMode does not name stay 0.
struct Sample {
  int32_t heart_rate = 0;  // bpm; an R-R interval in ms when the interval is kRrInterval
  int32_t speed = 0;
  int32_t cadence = 0;
  int32_t altitude = 0;
  int32_t power = 0;
  int32_t balance = 0;  // 256 x second pedalling byte + first
  int32_t pressure = 0;

  bool operator==(const Sample&) const = default;
};

struct ExerciseModel {
  ExerciseParams params;
  std::string note;  // the free text of a [Note] block (lines joined by '\n'); may be empty
  std::vector<Lap> laps;
  std::optional<std::array<int32_t, 8>> trip;  // the [Trip] values, when the file has them
  std::vector<Sample> samples;

  bool imperial() const { return params.smode.imperial; }
  bool rr() const { return params.interval == kRrInterval; }
  // A channel is recorded when the SMode names it and the samples are the extended kind (only
  // those carry more than the heart rate).
  bool has_speed() const { return params.smode.extended && params.smode.speed; }
  bool has_cadence() const { return params.smode.extended && params.smode.cadence; }
  bool has_altitude() const { return params.smode.extended && params.smode.altitude; }
  bool has_power() const { return params.smode.extended && params.smode.power; }
  bool has_balance() const { return params.smode.extended && params.smode.balance; }
  bool has_pressure() const { return params.smode.extended && params.smode.pressure; }
  bool operator==(const ExerciseModel&) const = default;
};

}  // namespace quibra::cli::formats

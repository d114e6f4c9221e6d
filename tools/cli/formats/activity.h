// An exercise in SI units and absolute time, as the training platforms' formats (FIT, TCX) want
// it. The tool turns its exercise model (read from an HRM file or taken from the library's record
// store) into this, and the FIT and TCX writers take only this, so that they know nothing of the
// wrist units' own units and scales.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quibra::cli::formats {

// One recorded sample. A channel the unit did not record is empty, not 0.
struct ActivityPoint {
  double time_s = 0;                  // since the start of the exercise
  std::optional<int32_t> heart_rate;  // beats per minute
  std::optional<double> speed_mps;
  std::optional<double> distance_m;  // from the start, summed from the speed when not recorded
  std::optional<double> altitude_m;
  std::optional<int32_t> cadence_rpm;
  std::optional<int32_t> power_w;
};

struct ActivityLap {
  double start_s = 0;  // since the start of the exercise
  double duration_s = 0;
  double distance_m = 0;           // 0 when the unit gave none
  int32_t average_heart_rate = 0;  // 0 when unknown
  int32_t maximum_heart_rate = 0;
  double ascent_m = 0;
};

enum class Sport { kGeneric, kRunning, kCycling };

struct Activity {
  // The start as seconds since 1970-01-01 00:00 of the unit's clock: the units keep local time
  // without a zone, and the files say it as UTC.
  int64_t start_unix_s = 0;
  double duration_s = 0;
  Sport sport = Sport::kGeneric;
  std::vector<ActivityPoint> points;
  std::vector<ActivityLap> laps;  // at least one when written: the whole exercise if it had none
  std::vector<int32_t> rr_ms;     // beat-to-beat intervals of an R-R recording, in order
};

}  // namespace quibra::cli::formats

// What `quibra show` prints about an exercise: its date and duration, the average and maximum
// heart rate, the time spent below, within and above each limit pair, the distance, the ascent
// and a table of the laps.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "activity.h"
#include "exercise_model.h"

namespace quibra::cli::formats {

struct ZoneTimes {
  int number = 0;  // 1..3, the limit pair of the file
  int32_t lower = 0;
  int32_t upper = 0;
  double below_s = 0;
  double within_s = 0;  // lower <= heart rate <= upper
  double above_s = 0;
};

struct Summary {
  int32_t date = 0;  // yyyymmdd
  int32_t start_tenths = 0;
  double duration_s = 0;
  int32_t average_hr = 0;  // 0: no heart rate recorded
  int32_t max_hr = 0;
  std::vector<ZoneTimes> zones;      // the limit pairs that are set
  std::optional<double> distance_m;  // with speed or lap distances
  std::optional<double> ascent_m;    // with altitude
  std::vector<ActivityLap> laps;     // every lap, the time after the last mark included
  bool imperial = false;             // the text shows miles and feet
};

// Each heart rate counts for the time until the next sample (in an R-R recording, its beat).
Summary SummaryOf(const ExerciseModel& model);

// The lines `quibra show` prints.
std::string SummaryText(const Summary& summary);

// "1:02:03" for 3723 s (rounded to the second).
std::string ClockText(double seconds);

}  // namespace quibra::cli::formats

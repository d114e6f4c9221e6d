// The samples of an exercise as CSV: a header row naming the channels (with their units), then
// one row per sample.
#pragma once

#include <string>

#include "exercise_model.h"

namespace quibra::cli::formats {

// Columns: time_s (since the start; in an R-R recording the time of each beat), then
// heart_rate_bpm (in an R-R recording rr_ms first), and each recorded channel: speed_kmh or
// speed_mph, cadence_rpm, altitude_m or altitude_ft, power_w, balance (the pedalling value as the
// unit keeps it), air_pressure. Rows end with LF.
std::string CsvText(const ExerciseModel& model);

}  // namespace quibra::cli::formats

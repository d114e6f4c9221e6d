// An exercise as JSON: {"Params": {...}, "Note": ..., "Laps": [...], "Trip": [...],
// "Samples": [...]}. Params carry the HRM file's keys (times as "hh:mm:ss.t", the date as
// "yyyy-mm-dd", "Units" metric or imperial); laps their named values and the five [IntTimes]
// rows as the file has them; samples the time in s and the recorded channels. Speeds are in
// km/h (mph) and temperatures in degrees, with one decimal.
#pragma once

#include <string>

#include "exercise_model.h"

namespace quibra::cli::formats {

std::string JsonText(const ExerciseModel& model);

// "hh:mm:ss.t" of a value in 1/10 s, hours not wrapped at 24, as HRM files write times.
std::string TenthsText(int32_t tenths);

}  // namespace quibra::cli::formats

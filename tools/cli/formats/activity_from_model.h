// The exercise model in SI units and absolute time, as the FIT and TCX writers take it.
#pragma once

#include "activity.h"
#include "exercise_model.h"

namespace quibra::cli::formats {

// The start comes from Date and StartTime (the unit's clock, taken as UTC); samples are placed
// every Interval seconds, or, in an R-R recording, at each beat (the heart rate of a point is
// then 60000 / interval). Channels the SMode does not name stay empty; a heart rate of 0 (no
// contact) is empty too. The distance is summed from the speed (the HRM file keeps none per
// sample). A lap's distance is the unit's own when it gave one, else the distance summed over the
// lap. Time after the last lap mark becomes a lap of its own; an exercise without laps is one lap.
Activity ActivityFromModel(const ExerciseModel& model);

// Days from 1970-01-01 to a yyyymmdd date (proleptic Gregorian).
int64_t DaysFromEpoch(int32_t yyyymmdd);

// The sport of a monitor type: the PR models are running units, the VC models cycling computers,
// any other unit is generic.
Sport SportOfMonitor(int32_t monitor);

// Unit conversions of the model's values.
double SpeedMetresPerSecond(const ExerciseModel& model, int32_t speed_tenths);
double AltitudeMetres(const ExerciseModel& model, int32_t altitude);
double LapDistanceMetres(const ExerciseModel& model, int32_t distance);

}  // namespace quibra::cli::formats

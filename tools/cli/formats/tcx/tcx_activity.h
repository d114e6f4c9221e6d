// An exercise as a Training Center XML (TCX) file: one activity with its laps, each lap's
// summary and its track of samples (time, altitude, distance, heart rate, cadence, and speed and
// power in the activity extension), only the values the exercise has.
#pragma once

#include <string>

#include "../activity.h"

namespace quibra::cli::formats {

std::string EncodeTcxActivity(const Activity& activity);

}  // namespace quibra::cli::formats

// An exercise as a FIT activity file: file id, the timer's start and stop events, a record per
// sample with the channels the exercise has, the R-R intervals as hrv messages between the
// records they belong to, the laps, one session and the activity summary.
#pragma once

#include <cstdint>
#include <vector>

#include "../activity.h"

namespace quibra::cli::formats {

std::vector<uint8_t> EncodeFitActivity(const Activity& activity);

}  // namespace quibra::cli::formats

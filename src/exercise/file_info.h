// Listing the exercises of an older unit's downloaded memory: what each exercise header says
// (name, start, duration, interval, recorded channels) without decoding the exercise, and the
// name of the unit's current sport exercise.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::exercise {

// Fills *info for exercise `index` of the single-exercise image in the exercise memory. The
// record is cleared and sized first; 0 when the current unit is not an outdoor or K-series unit
// or the exercise is not there.
int32_t GetExeFileInfo(int32_t index, ExeFileInfo& info);

// Writes the sport exercise name (at most 8 characters, no terminator) to buffer; returns the
// number of characters written.
int32_t SportExeName(char* buffer);

}  // namespace quibra::exercise

// Decoding of a sound download: after a reception the exercise memory buffer holds the assembled
// data from position 1 (reception header at 1..6, the unit's data from 7 on). For the units whose
// exercise layout the library knows (monitor types 6, 9 and 10) this turns it into exercise 0 of
// the record store: summary, heart-rate samples with optional speed and third channel, laps and
// limit-set changes.
#pragma once

#include <cstdint>

namespace quibra::sound {

// Resets the exercise record and fills it from the exercise memory buffer. 1 for monitor types
// 6, 9 and 10, also when the store refused part of the exercise (a failed last sample is
// reported with the message box "Error in data"). Any other type has no sound layout: 0, and
// the record store is left as it was.
int32_t AnalyzeTonvoxFile(int32_t monitor_type);

}  // namespace quibra::sound

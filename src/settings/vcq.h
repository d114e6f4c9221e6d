// The VCQ units (monitor types 29 and 31) take their settings by sound only: the distance
// totals of their two bikes as a raw memory write (message 9035, area 59), and their exercise
// settings in message 9079.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

// Writes the sum of both totals, total 1 and total 2 (each 0..999999; the sum is cut to
// 999999), each dated, into the unit's area 59 by sound or data file. 0 without a transfer for
// a total out of range or a monitor type without that area; else 1 when delivered.
int32_t SendBikeTotalsVcq(CommParams& params, int32_t monitor_type, int32_t total1, int32_t total2,
                          int32_t date);

// Checks, completes and packs the record into the 9079 image and seals it. Lenient: a timer
// that is on takes its default instead of failing. false for a failing check (image untouched).
bool PrepareVcqExerciseSettings(VcqExerciseSettings& record, bool lenient);

// Prepares (strictly) and sends by sound or data file; over infrared (without a data-file mode)
// it reports 1 without a transfer. From the data file the record is filled from the image read.
int32_t SendVcqExerciseSettings(CommParams& params, VcqExerciseSettings& record);

}  // namespace quibra::settings

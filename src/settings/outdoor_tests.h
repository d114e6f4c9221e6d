// The fitness test results of the outdoor units: the last three results the unit keeps. Message
// 9048 reads them, message 9049 clears them.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kTestResultsSize = 32;

int32_t ReadTestResults(CommParams& params, OutdoorTestResults& record);
// Clears the results on the unit (or writes the clearing message by sound or to the data file);
// on success the record holds no result.
int32_t ClearTestResults(CommParams& params, OutdoorTestResults& record);
void UnPackTestResults(OutdoorTestResults& record);

}  // namespace quibra::settings

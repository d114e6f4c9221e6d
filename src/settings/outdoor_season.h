// The season totals of the outdoor units: what the unit has counted since they were last
// cleared. Message 9046 reads them, message 9047 clears them.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kSeasonTotalsSize = 48;

int32_t ReadSeasonTotals(CommParams& params, OutdoorSeasonTotals& record);
// Clears the totals on the unit (or writes the clearing message by sound or to the data file);
// on success the record holds the cleared totals.
int32_t ClearSeasonTotals(CommParams& params, OutdoorSeasonTotals& record);
void UnPackSeasonTotals(OutdoorSeasonTotals& record);

// A date as the outdoor units keep it, day, month and year - 2000 in three binary bytes; a
// day of 0 is no date (0).
int32_t OutdoorDate(int32_t day, int32_t month, int32_t year_byte);

// The clearing exchange of the season totals and the test results: a write whose image is the
// message alone (or one byte), delivered on the road the parameters name. On success the
// record is cleared and its Size set.
int32_t SendClearing(CommParams& params, int32_t message, int32_t payload_bytes, void* record,
                     size_t record_size, int32_t size_field);

}  // namespace quibra::settings

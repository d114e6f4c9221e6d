// The results of the two fitness tests a unit runs on the wrist: up to 16 LoadGauge results
// (a date, a rating and three heart rates each), fetched into a table the library keeps and
// decoded entry by entry, and the FitGauge result. Type 22 keeps them in raw memory areas of
// its own; the newer running and cycling units (33..38) in their display area.
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

// The LoadGauge table of the last read: six values per entry from 6 x entry on; on the newer
// units values 96..111 order the results (result i is entry value[96 + i]).
inline constexpr size_t kLoadGaugeValues = 112;
struct GaugeTable {
  std::array<uint8_t, kLoadGaugeValues> values{};
};

// Reads the stored LoadGauge results (of the unit identified here unless type_given names the
// type) into the table; the number of results (0..16), 0 on failure.
int32_t ReadLoadGaugeResults(uint32_t window, int32_t type_given, int32_t type);

// Decodes result `entry` (0..15) of the table for a type-22 or newer unit. 1 when it is a valid
// result; 0 with the record untouched for an entry or type out of range, else 0 with the record
// filled.
int32_t GetLoadGaugeResult(int32_t entry, int32_t type, LoadGaugeResult& record);

// Reads the FitGauge results into the record. 1 when the first result is a valid date not
// after today; 0 with the record untouched otherwise.
int32_t ReadFitGaugeResults(uint32_t window, FitGaugeResults& record, int32_t type);

}  // namespace quibra::settings

// The running shoes of the newer running units: a name, the stride-sensor calibration and
// whether the shoe carries a stride sensor, and which shoe is in use, kept in the shoe area of
// the unit's memory (a fixed distance behind the display area its identification announces) and
// moved with the direct memory commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "prvc/gear_area.h"
#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr int32_t kPrvcShoeSettingsSize = sizeof(PrvcShoeSettings);
// The shoe area lies this far behind the display area, past the display layouts and the test
// results the display area holds.
inline constexpr int32_t kShoeAreaFromDisplay = 400;

// The shoes a unit of the type keeps: 2 or 3, 0 for a running unit without shoes.
int32_t ShoeCount(int32_t type);
size_t ShoeAreaBytes(int32_t shoes);

// Checks the shoes the unit keeps and repairs the record in place; false (with an error code)
// for a name character table 5 lacks or a stride-sensor flag other than 0 or 1.
bool CheckShoes(PrvcShoeSettings& record, int32_t shoes);
void PackShoes(const PrvcShoeSettings& record, int32_t shoes, std::span<uint8_t> area);
void UnpackShoes(std::span<const uint8_t> area, int32_t shoes, PrvcShoeSettings& record);

// As SendBikesPrvc and ReadBikesPrvc, for the shoe area.
int32_t SendShoesPrvc(GearExport which, CommParams& params, PrvcShoeSettings& record);
int32_t ReadShoesPrvc(GearExport which, CommParams& params, PrvcShoeSettings& record);
void ResetShoesPrvc(PrvcShoeSettings& record);

}  // namespace quibra::prvc

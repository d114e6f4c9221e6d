// The five sport zones of the type 30 running units: lower and upper limit of each zone in
// percent of the maximum heart rate. The unit keeps them in memory area 60 of the older units'
// area table (ten bytes at 451), written with the area write 9007 (layout in sport_zones.cpp).
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr int32_t kSportZonesArea = 60;
inline constexpr size_t kSportZonesBytes = 10;

// false with error code 104 for a type other than 30, a limit outside 30..100, a zone whose
// lower limit is not below its upper one, or a zone starting below the end of the one before.
bool CheckSportZones(PR3SportZones& record);
std::array<uint8_t, kSportZonesBytes> PackSportZones(const PR3SportZones& record);

// Checks the record (0 with nothing sent when it fails), then sends the area with 9007 over
// infrared, or by sound or through the data file on another link. 1 / 0.
int32_t SendSportZones(CommParams& params, PR3SportZones& record);
void ResetSportZones(PR3SportZones& record);

}  // namespace quibra::prvc

// The two bike odometers of the older cycling-capable units, kept in two raw memory areas
// (numbers 21 and 22 of the area table) as three BCD pairs each, least significant first:
// read with the area read (9008), written with the area write (9007) over infrared or by sound.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr int32_t kOdometerBike1 = 21;
inline constexpr int32_t kOdometerBike2 = 22;

// Selects the area layouts of the record's unit type and puts the bike's odometer (area 21:
// bike 1, 22: bike 2) into the area write's image. 0, nothing changed, for another area or an
// odometer outside 0..999999.
int32_t PackOdometer(int32_t area, const OdometerSettings& record);

// Takes the bike's odometer from the received area (21 or 22) and sets the size. 0 for another
// area.
int32_t UnPackOdometer(int32_t area, OdometerSettings& record);

// Identifies the unit (types 12, 22 and 23 only) and reads both odometers; the record's monitor
// type becomes the unit's. 0 with the record untouched when a step fails.
int32_t ReadOdometer(CommParams& params, OdometerSettings& record);

// Writes both odometers: over infrared to an identified unit of the record's type (12, 22 or
// 23), by sound (types 6, 10, 12, 22, 23) without identification. 0 with nothing sent for
// another type or an odometer out of range; 0 when a transfer failed (bike 1 stays written when
// bike 2 failed).
int32_t WriteOdometer(CommParams& params, const OdometerSettings& record);

}  // namespace quibra::prvc

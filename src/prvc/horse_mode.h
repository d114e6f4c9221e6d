// The horse mode of the newer cycling units (types 33, 34, 35): one bit of the first byte of
// their bike area, which the unit reports again in bit 7 of byte 15 of its identification
// (MonitorInfo.HorseMode).
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr uint8_t kHorseModeBit = 0x80;

// Sets the unit's horse mode on (1) or off (0), keeping the rest of the byte, then has the unit
// take it. 0 with nothing sent for a type other than 33, 34, 35 (error 105), another value of
// on (error 104) or before a unit was identified; 0 when an exchange failed.
int32_t SetHorseMode(CommParams& params, int32_t on);

}  // namespace quibra::prvc

// What the monitor settings, exercise settings and targets of the newer running and cycling
// units share: which unit a record may go to, the bytes of an area that belong to the unit
// rather than to the record, and the numbers the unit keeps as decimal digits.
#pragma once

#include <cstdint>
#include <span>

#include "quibra/records.h"

namespace quibra::prvc {

// Whether a record of this unit type may go to the unit: the type must be one of 33..38 and
// the type of the unit identified last, whose memory map gives the areas (before any unit was
// identified there is none). A refused type sets error code 104 (kErrorBadArgument).
bool AcceptsNewerUnit(int32_t unit_type);

// A record refused by its check: error code 104, result false.
bool Refuse();

bool InRange(int32_t value, int32_t low, int32_t high);
bool IsSwitch(int32_t value);
int32_t InRangeOr(int32_t value, int32_t low, int32_t high, int32_t fallback);

// The byte at address as the unit keeps it, with the bits of keep_mask taken from the unit and
// the others from `ours` (read with the read command; false when the exchange failed).
bool MergeWithUnitByte(CommParams& params, int32_t address, uint8_t keep_mask, uint8_t& ours);

// Decimal digits two to a byte, the least significant pair first: 1234 with two bytes is
// 0x34, 0x12.
void PackBcdLowFirst(std::span<uint8_t> out, int32_t value);
int32_t UnpackBcdLowFirst(std::span<const uint8_t> in);

}  // namespace quibra::prvc

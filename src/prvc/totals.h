// The running totals of the running and cycling units (types 33..38): each a value and the date
// it was last reset, kept in the unit's totals area (its address comes from the identification)
// and moved with the direct memory commands.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "quibra/records.h"

namespace quibra::prvc {

// The bytes of the totals area that a unit of the type keeps, laid out from the record; nothing
// when the type keeps no totals or a value or date of the record is out of range (a date of 0
// is today's).
std::optional<std::vector<uint8_t>> EncodeTotals(int32_t type, const TotalsPRVC& totals);

// The record from the bytes of a type's totals area (at least as many as the type keeps); a
// reset date that is no date of 2003..2099 becomes today's. False for a type that keeps no
// totals or too few bytes.
bool DecodeTotals(int32_t type, std::span<const uint8_t> bytes, TotalsPRVC& totals);

// Reads the totals of the unit of params.MonitorType (silently over infrared: the record's link
// type, dialog and parent window are set so). 0 with the record untouched when the type keeps
// no totals, no such unit has been identified, or the exchange failed.
int32_t ReadTotals(CommParams& params, TotalsPRVC& totals);

// Writes the totals, then has the unit take them (state byte copy, memory restore). 0 with
// nothing sent for a type without totals, no identified unit, or a value or date out of range;
// 0 when an exchange failed (what was sent before stays written).
int32_t WriteTotals(CommParams& params, const TotalsPRVC& totals);

}  // namespace quibra::prvc

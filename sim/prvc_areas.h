// The settings areas a running or cycling unit keeps in its memory at the addresses its
// identification announces: its totals, its display layouts and fitness test results (in the
// display area), and the state byte it keeps in its second bank. A unit fresh from the factory
// has every total at 0 with its reset date on the factory date, every display switch on, no test
// results, and state byte 1.
#pragma once

#include <cstdint>
#include <optional>

namespace quibra::sim {

class Unit;

// The date on which a fresh unit's totals were last reset, in the units' two-byte form
// (2007-01-01).
inline constexpr uint8_t kFactoryDateBytes[2] = {0x21, 0x0E};

// Offsets within the display area.
inline constexpr int32_t kLoadGaugeOffset = 70;     // 120 bytes: the table and its count
inline constexpr int32_t kFitGaugeOffset = 190;     // 6 bytes: two dated results
inline constexpr int32_t kPR9WDisplayOffset = 247;  // type 38: two switch bytes and the codes
inline constexpr int32_t kOtherSwitchOffset = 249;  // the other types' switch byte

// Bytes of the totals area of a type (its entries and their dates); 0 for a type without one.
int32_t TotalsAreaBytes(int32_t type);

// Where in its second bank a unit of the type and variant keeps its state byte, if it does.
std::optional<int32_t> StateByteAddress(int32_t type, int32_t variant);

// Lays the factory contents into the areas of a running or cycling unit (others keep none), at
// the addresses its identification announces now.
void LayFactoryAreas(Unit& unit);

}  // namespace quibra::sim

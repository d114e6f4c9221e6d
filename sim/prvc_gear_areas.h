// The bikes, shoes and horse mode a running or cycling unit keeps in its memory: the bike area
// (at the bike address its identification announces; type 38: 89 bytes past it) and the shoe
// area (400 bytes past its display area). The horse mode is bit 7 of the bike area's first byte;
// the unit reports it again in its identification. A unit fresh from the factory has its bikes
// and shoes named by number with a neutral wheel size and calibration, the first in use.
#pragma once

#include <cstdint>
#include <span>

#include "identification.h"

namespace quibra::sim {

class Unit;

// Where the bike and the shoe area of a unit of the type lie, by its identification.
int32_t BikeAreaAddress(int32_t type, const Identification& identity);
int32_t ShoeAreaAddress(const Identification& identity);

// Lays the factory bikes and shoes into the areas of a unit that keeps them.
void LayFactoryGear(Unit& unit);

// After a direct write into bank 0: a cycling unit that knows a horse mode reports what the
// first byte of its bike area now holds.
void KeepHorseMode(int32_t type, Identification& identity, std::span<const uint8_t> bank0);

}  // namespace quibra::sim

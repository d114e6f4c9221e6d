// The training settings a running or cycling unit keeps in its memory, as it leaves the
// factory: its monitor settings (settings, sensor and display areas), exercise settings
// (exercise areas 1..3), daily and weekly targets, and on a type 30 unit its five sport zones.
#pragma once

#include <cstdint>

namespace quibra::sim {

class Unit;

// Where a unit of the type and variant keeps its general settings, from the bike-area address
// its identification announces.
int32_t SettingsAreaAddress(int32_t type, int32_t variant, int32_t bike_area);

// The memory base of the newer units and the areas placed from it.
int32_t ExerciseArea1Address(int32_t type, int32_t base);
int32_t ExerciseArea2Address(int32_t type, int32_t base);
int32_t WeeklyTargetsAddress(int32_t type, int32_t base);
int32_t DailyTargetsAddress(int32_t type, int32_t base);

// Where a type 30 unit keeps its sport zones: ten bytes, lower and upper limit of each zone.
inline constexpr int32_t kSportZonesAddress = 451;

// Lays the factory settings into the unit's memory, at the addresses its identification
// announces now (units without these settings are left alone).
void LayTrainingAreas(Unit& unit);

}  // namespace quibra::sim

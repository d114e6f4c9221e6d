// The training targets of the newer running and cycling units (types 33..38): a target for each
// day of the week in the daily targets area, and targets for the whole week in the weekly
// targets area, with the switch that makes the unit follow them in exercise area 3 (layouts in
// targets.cpp). The units take them and give nothing back over the library's exports; the
// areas are read back only to compare.
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr size_t kDailyTargetBytes = 5;
inline constexpr size_t kDailyTargetsBytes = 7 * kDailyTargetBytes;
inline constexpr size_t kWeeklyTargetsBytes = 15;
// Where in exercise area 3 the weekly targets' switch lies.
inline constexpr int32_t kWeeklySwitchOffset = 2;

// Complete the record in place (a value out of range becomes 0); false with error code 104 for
// a type the identified unit does not take or, weekly, a switch other than 0 or 1.
bool CheckDailyTargets(PrvcDailyTargets& record);
bool CheckWeeklyTargets(PrvcWeeklyTargets& record);
std::array<uint8_t, kDailyTargetsBytes> PackDailyTargets(const PrvcDailyTargets& record);
std::array<uint8_t, kWeeklyTargetsBytes> PackWeeklyTargets(const PrvcWeeklyTargets& record);

// Check (0 with nothing sent when it fails), write, then have the unit take them. 1 / 0; with
// ReadFromDataFile 1 at once.
int32_t SendDailyTargets(CommParams& params, PrvcDailyTargets& record);
int32_t SendWeeklyTargets(CommParams& params, PrvcWeeklyTargets& record);

// The records for the fields a shorter caller record lacks: no targets.
void ResetDailyTargets(PrvcDailyTargets& record);
void ResetWeeklyTargets(PrvcWeeklyTargets& record);

}  // namespace quibra::prvc

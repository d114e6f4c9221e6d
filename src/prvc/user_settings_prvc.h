// The user settings of the newer running and cycling units (types 33..38): weight, height,
// birth date, heart-rate and fitness values and two texts, kept in user areas 1 and 2 of the
// unit's memory and moved with the direct memory commands.
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr size_t kUserArea1Bytes = 14;
inline constexpr size_t kUserArea2Bytes = 21;

// Checks the record and repairs it in place; false (the record then keeps the repairs made so
// far) for a type outside 33..38 or a birth date that is no date or lies outside
// 19210101..20201231 once a year before 1921 has become 1921.
bool CheckUserSettings(PrvcUserSettings& record);

// The two areas as the unit keeps them, from a checked record.
std::array<uint8_t, kUserArea1Bytes> PackUserArea1(const PrvcUserSettings& record);
std::array<uint8_t, kUserArea2Bytes> PackUserArea2(const PrvcUserSettings& record);
// The fields each area holds, into the record (the others are left).
void UnpackUserArea1(const std::array<uint8_t, kUserArea1Bytes>& area, PrvcUserSettings& record);
void UnpackUserArea2(const std::array<uint8_t, kUserArea2Bytes>& area, PrvcUserSettings& record);

// Checks the record (0 without sending when it fails), writes both areas and the flag byte below
// user area 2, then finishes the write (state byte, memory restore) behind the busy dialog when
// ShowDialog is set. 1 / 0; with ReadFromDataFile 1 at once.
int32_t SendUserSettingsPrvc(CommParams& params, PrvcUserSettings& record);

// Reads both areas into a cleared record of the type params.MonitorType, then completes it with
// the check. Returns 1 whether or not the unit answered: a failed read leaves the defaults.
int32_t ReadUserSettingsPrvc(CommParams& params, PrvcUserSettings& record);

}  // namespace quibra::prvc

// Single commands to a unit (watch mode, factory defaults, sleep, memory restore, display off)
// and the service values that travel as memory blocks: total calories and the identification
// number.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

// The commands without answer: 9010 watch mode, 9009 factory defaults, 9038 sleep, 9088 memory
// restore, 9105 display off. Infrared (link type 1) or by sound; the last two have no sound
// form and report success without sending anything. 1 / 0.
int32_t SendSimpleCommand(CommParams& params, int32_t message);

// Service values in memory blocks 32 (calories, 0..999999, BCD) and 31 (identification number,
// 0..16777215, binary). Writes return 1 / 0 (0 without a transfer for a value out of range);
// reads return the value, or 0 when the transfer failed.
int32_t WriteTotalCalories(int32_t value);
int32_t WriteIDNumber(int32_t value);
int32_t ReadTotalCalories();
int32_t ReadIDNumber();

}  // namespace quibra::settings

// Single commands to a unit (watch mode, factory defaults, sleep, memory restore, display off,
// file delete) and the service values that travel as memory blocks: total calories, the
// identification number, the monitor type, the heart-rate alarm of type 23, a memory byte and
// the usage counters of the outdoor units.
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

// Switches the monitor type a unit runs as (block 41): type 22 to mode 2 or 3 (checked by
// reading the block back), type 12 over infrared or type 10 by sound to mode 0 or 1; the
// factory defaults follow. 1 / 0.
int32_t SwitchMonitorType(int32_t type, int32_t mode);

// Deletes exercise files (9012): file -2 only records the date (yyyymmdd), the time of day
// (s) and the 12-hour flag that name the file; 0 or more names that file of the downloaded
// memory; -1 deletes every file. 1 / 0.
int32_t SendFileDeleteCommand(CommParams& params, int32_t file, int32_t date, int32_t seconds,
                              int32_t twelve_hour);

// Switches the heart-rate limit alarm of a type 22 or 23 unit off (bit 1 of block 46) and
// checks that the unit took it. 1 / 0.
int32_t SetK65LimitAlarmOff();

// Writes a byte into memory area 9 (block 46 of type 23): over infrared it is read back and
// checked; with any other link it is only prepared. 1 / 0.
int32_t WriteMemoryByte(int32_t link_type, int32_t area, int32_t value);

// Reads the 13 usage counters of a type 20 or 21 unit (block 45) into the module's counter
// table; with the copy flag their values also go to the clipboard, one line each. 1 / 0.
int32_t GetUsageCounters(int32_t copy_to_clipboard);
// Counter 0..12 of the last read; 0 outside that range or before any read.
int32_t ReadUsageCounterValue(int32_t index);

}  // namespace quibra::settings

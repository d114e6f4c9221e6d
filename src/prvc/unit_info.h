// What a unit tells about itself in its identification answer (message 9021): monitor type,
// variant, files, memory and state bits, and for the newer running and cycling units where each
// settings area lies in their memory.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

// Where the settings areas of a group A or B unit lie in its memory; rewritten by every unpack
// of such a unit and read by the transfers of that family.
struct UnitMemoryMap {
  int32_t base = 0;  // logos and exercises
  int32_t exercise_area1 = 0;
  int32_t exercise_area2 = 0;
  int32_t weekly_targets = 0;
  int32_t daily_targets = 0;
  int32_t bike_area = 0;
  int32_t settings_area = 0;
  int32_t reminders = 0;
  int32_t totals = 0;
  int32_t user_area1 = 0;
  int32_t user_area2 = 0;
  int32_t sensor_area = 0;
  int32_t watch_area = 0;
  int32_t exercise_area3 = 0;
  int32_t display_area = 0;
};

// Fills the record from the stored identification answer; records the detected type and
// variant module-wide (and the memory map for groups A and B). With an unknown product code it
// asks the unit once more; still unknown gives 0 with MonitorInUse -1.
int32_t UnPackMonitorInfo(MonitorInfo& info);

// Asks the unit who it is (the probe form when info.MonitorInUse is -1 on entry) and unpacks;
// runs the health checks of the units that need them.
int32_t ReadMonitorInfo(CommParams& params, MonitorInfo& info);

// The raw product code of the unit, read as ReadMonitorInfo does; 0 when the read failed.
int32_t ReadMonitorType();

}  // namespace quibra::prvc

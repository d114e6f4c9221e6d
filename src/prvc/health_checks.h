// Checks run on a newer running or cycling unit right after it is identified: the state of its
// memory, and which sensors are paired with it.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

// Reads the unit's memory state block and, when it is not sound, writes a fresh one. 1 when it
// repaired the unit, else 0.
int32_t EEPROMStateCheckFix(CommParams& params);

// 1 when a stride sensor is paired with the unit.
int32_t N4Sensor(CommParams& params);

// Sets the six paired-sensor flags for types 34 and 38 (others keep them). 1 after a
// successful exchange.
int32_t SensorsPRVCZ(CommParams& params, int32_t* flags);

}  // namespace quibra::prvc

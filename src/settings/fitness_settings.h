// The settings of the fitness units (types 24, 25, 26, 27, 30, 32 and 40 among them): user data
// (message 9060, or 9078 for types 30 and 32), exercise heart-rate limits (9064), the monitor
// options byte (9059) and the clock (9062). They are written, not read: the unpacking below runs
// only when a Send takes its image from the data file, and for the J9 unit's user block.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kFitnessUserSize = 52;
inline constexpr int32_t kFitnessExerciseSize = 32;
inline constexpr int32_t kFitnessMonitorSize = 24;

// The defaults a shorter record's missing fields take (its Reset values).
void RecordDefaults(FitnessUserSettings& record);
void RecordDefaults(FitnessExerciseSettings& record);
void RecordDefaults(FitnessMonitorSettings& record);

// Checks and completes the record in place, packs and seals its message; false when a check
// fails (the image is then untouched).
bool PrepareFitnessUser(FitnessUserSettings& record);
int32_t SendFitnessUser(CommParams& params, FitnessUserSettings& record);
void ResetFitnessUser(FitnessUserSettings& record);

bool PrepareFitnessExercise(FitnessExerciseSettings& record);
int32_t SendFitnessExercise(CommParams& params, FitnessExerciseSettings& record);
void ResetFitnessExercise(FitnessExerciseSettings& record);

int32_t SendFitnessMonitor(CommParams& params, FitnessMonitorSettings& record);

// The clock from the PC's local date and time, one second ahead for a sound upload (it reaches
// the unit a second later).
void PrepareFitnessClock(int32_t link_type);
int32_t SendFitnessClock(CommParams& params);

// The J9 unit keeps its user data as the 12 bytes of the 9060 layout at EEPROM address 394.
inline constexpr int32_t kJ9UserAddress = 394;
inline constexpr int32_t kJ9UserCount = 12;
// Unpacks the J9 user block received last and checks it; 1, or 0 when a check fails.
int32_t UnpackJ9User(FitnessUserSettings& record);
// Reads the block and unpacks it: 0 when the read or a check fails.
int32_t ReadJ9User(CommParams& params, FitnessUserSettings& record);

}  // namespace quibra::settings

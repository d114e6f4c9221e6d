// The exercise settings of the newer running and cycling units (types 33..38): the exercise's
// name, two timers, three heart-rate zones and the recovery rate, kept in exercise areas 1, 2
// and 3 of the unit's memory (layout in exercise_settings_prvc.cpp).
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr size_t kExerciseArea1Bytes = 16;
inline constexpr size_t kExerciseArea2Bytes = 6;
inline constexpr size_t kExerciseArea3Bytes = 2;

struct ExerciseSettingsBytes {
  std::array<uint8_t, kExerciseArea1Bytes> area1{};
  std::array<uint8_t, kExerciseArea2Bytes> area2{};
  std::array<uint8_t, kExerciseArea3Bytes> area3{};  // bits 1..7 of byte 0 are the unit's
};

// Completes the record in place; false with error code 104 for a type the identified unit does
// not take, a switch other than 0 or 1, a name with a character device table 5 lacks, or a zone
// whose lower limit is not below its upper one.
bool CheckExerciseSettings(PrvcExerciseSettings& record);
ExerciseSettingsBytes PackExerciseSettings(const PrvcExerciseSettings& record);
void UnpackExerciseSettings(const ExerciseSettingsBytes& bytes, PrvcExerciseSettings& record);

// Checks the record (0 with nothing sent when it fails), writes the three areas keeping the
// unit's own bits, then has the unit take them. 1 / 0; with ReadFromDataFile 1 at once.
int32_t SendExerciseSettingsPrvc(CommParams& params, PrvcExerciseSettings& record);
// Reads the three areas of the unit of params.MonitorType and completes the record with the
// check. 0 with the record untouched when the type is refused or an exchange failed.
int32_t ReadExerciseSettingsPrvc(CommParams& params, PrvcExerciseSettings& record);
void ResetExerciseSettingsPrvc(PrvcExerciseSettings& record);

}  // namespace quibra::prvc

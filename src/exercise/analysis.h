// Decoding one exercise of the downloaded exercise memory into the record store: the choice of
// decoder by monitor type, and what an analysis remembers between calls (the unit version and
// the 50-byte note of a whole-memory image).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace quibra::exercise {

inline constexpr int32_t kNoteLength = 50;

// What the unit's user settings tell about the person who recorded the exercises.
struct UserValues {
  int32_t max_heart_rate = 0;  // the user value of the type 22 and 23 decoders
  int32_t weight_kg = 0;
};

// Reads the unit's user values over infrared (see exercise_download.h); null while no reader is
// installed.
using UserValueSource = std::optional<UserValues> (*)();

// The name an exercise header gives (7 characters of the older units), without a terminator.
inline constexpr size_t kExerciseNameLength = 7;

struct AnalysisState {
  std::atomic<int32_t> unit_version{0};
  // The maximum heart rate that percentage limits fall back to, taken from the first exercise
  // that needs it after a download started; 0 until then.
  std::atomic<int32_t> max_heart_rate{0};
  // The user value of the type 22 and 23 decoders (the user's maximum heart rate) and the
  // user's weight, fetched after each download; 0 while the unit has not told them.
  std::atomic<int32_t> user_value{0};
  std::atomic<int32_t> user_weight{0};
  UserValueSource user_value_reader = nullptr;
  // The name of the exercise decoded last, empty when its header gives none. Written and read
  // on the application's thread, with the exercise record.
  std::string exercise_name;
  std::array<char, kNoteLength> note{};  // bytes as the unit stored them, not terminated
};

// A single-exercise image names its unit: the product code at byte 3 (mapped to the monitor
// type) and the unit version at byte 4. Refreshes both, unless the current unit is one of the
// file-based types 32..38, whose images say nothing about the unit there.
void RefreshUnitFromSingleImage();

// Forgets the fallback maximum heart rate; an exercise download starts with this.
void ClearMaxHeartRateCache();

// Decodes exercise `index` (mode 0: single-exercise image, 1: whole-memory image) into the
// record store, with the exercise's name and, for the units whose user settings are read with
// the exercises (types 22 and 23), the user's maximum heart rate and weight (parameters 25 and
// 90). 1 on success; 0 for a type without a decoder or an exercise that is not there, or one
// whose recorded start or length is impossible (exercise_checks.h).
int32_t AnalyzeFile(int32_t index, int32_t mode);

}  // namespace quibra::exercise

// Writes what the J9 fitness unit (type 27) holds: its EEPROM with the exercise summaries,
// fitness and relaxation tests, programme and user block, at the addresses the unit keeps them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/encoders/image_layout.h"

namespace quibra::sim {

struct J9Exercise {
  std::string name;  // at most 8 characters of table 0; empty: the unit marks it unnamed
  int32_t year = 2020, month = 1, day = 1;  // 2000..2089
  int32_t start_seconds = 0, duration_seconds = 0;
  int32_t byte17 = 0, byte18 = 0;
  int32_t total = 0;  // 16-bit, parameters 80 and 91
  int32_t byte21 = 0;
  int32_t option = 0;                     // bit 2, else bit 0: parameter 109
  std::array<int32_t, 4> zone_seconds{};  // parameters 67, 70, 73, 76
  int32_t byte35 = 0, byte36 = 0;         // parameters 20, 19
};

struct J9Test {
  int32_t year = 2020, month = 1, day = 1;
  int32_t value = 0;
};

// The J9 EEPROM's layout: where the unit keeps each part.
inline constexpr int32_t kJ9MemoryBytes = 32768;
inline constexpr int32_t kJ9UserAt = 394;
inline constexpr int32_t kJ9ProgrammeAt = 486;  // the 162 bytes of a cardio programme
inline constexpr int32_t kJ9ProgrammeBytes = 162;
inline constexpr int32_t kJ9ProgrammeStagedAt = 31744;  // where the programme write puts it
inline constexpr int32_t kJ9FileCountAt = 712;
inline constexpr int32_t kJ9RelaxationCountAt = 714;
inline constexpr int32_t kJ9FitnessTestsAt = 742;
inline constexpr int32_t kJ9SummariesAt = 1024;
inline constexpr int32_t kJ9SummaryBytes = 43;
inline constexpr int32_t kJ9RelaxationAt = 2142;
inline constexpr int32_t kJ9RelaxationBytes = 13;
inline constexpr size_t kJ9MostExercises = 26;
inline constexpr size_t kJ9MostFitnessTests = 47;
inline constexpr size_t kJ9MostRelaxationTests = 36;

struct J9Contents {
  std::vector<J9Exercise> exercises;                   // at most kJ9MostExercises
  std::vector<J9Test> fitness_tests;                   // at most kJ9MostFitnessTests
  std::vector<J9Test> relaxation_tests;                // at most kJ9MostRelaxationTests
  std::array<uint8_t, kJ9ProgrammeBytes> programme{};  // as message 9065 carries it
  std::array<uint8_t, 12> user{};                      // as message 9060 carries it
};

// The whole EEPROM; throws std::invalid_argument for contents that do not fit.
Bytes J9Memory(const J9Contents& contents);

}  // namespace quibra::sim

// Exercises made up for a simulated unit (quibra-sim --exercises N): plausible sessions laid out
// by the encoders (sim/encoders) in the exercise memory the unit's type sends.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quibra::sim {

// The most exercises a generated memory holds.
inline constexpr int32_t kMaxGeneratedExercises = 99;

// The exercise memory of `count` exercises for a unit of the type, naming the unit by its
// product code and variant as a unit does in what it sends. Nothing for a type no encoder writes
// (the fitness units and the newer running and cycling units), or more exercises than its
// memory layout keeps (type 30 one, type 31 fifteen).
std::optional<std::vector<uint8_t>> GeneratedExerciseMemory(int32_t type, int32_t product_code,
                                                            int32_t variant, int32_t count);

// The exercise files of `count` exercises for a running or cycling unit (types 33..38): the
// same sessions, heart rate and speed at 1 s (2 s on types 34 and 38), two laps each. Nothing for
// another type or more than kMaxGeneratedExercises.
std::optional<std::vector<std::vector<uint8_t>>> GeneratedExerciseFiles(int32_t type,
                                                                        int32_t product_code,
                                                                        int32_t variant,
                                                                        int32_t count);

// The same exercises in a whole-memory image, as a memory dump holds them (product code at
// position 2): empty for a type without a whole-memory layout here (only the outdoor and
// K-series units have one).
std::vector<uint8_t> GeneratedWholeMemory(int32_t type, int32_t product_code, int32_t count);

}  // namespace quibra::sim

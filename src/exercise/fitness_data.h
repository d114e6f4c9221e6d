// What the fitness units (monitor types 24..27, and for their tests 30 and 32) hold, read from
// the exercise memory image: exercise summaries, fitness-test and relaxation-test results and the
// training programme. The J9 unit's image is assembled by j9_reads.h; the other units deliver
// theirs with an exercise download or a sound transfer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::exercise {

class ExerciseStore;
class MemoryReader;
enum class ImageMode : int32_t;

// The data type of the image: 2 for types 6, 9, 10 and 31, 5 for type 32, else the low nibble
// of position 7. Refreshes the monitor type from the image first.
int32_t GetFitnessDataType();
// The number of exercise files in the image. Refreshes the monitor type first.
int32_t GetFitnessFileCount();

// The record-store decoder of the fitness units' images (types 24..27): summary `index` into
// the (reset) record. 0 when the summary lies beyond the image, else 1.
int32_t DecodeFitnessExercise(const MemoryReader& memory, ExerciseStore& store,
                              int32_t monitor_type, int32_t index, ImageMode mode);
// Resets the record and decodes summary n into it.
int32_t AnalyzeFitnessFile(int32_t n);

// The name of summary n into buffer (9 bytes: 8 characters and a terminator); its length.
int32_t GetFitnessExeName(char* buffer, int32_t n);

// Fitness tests, for the unit type last recognised.
int32_t GetFitnessTestCount();
int32_t GetFitnessTestDate(int32_t i);
int32_t GetFitnessTestValue(int32_t i);
// Relaxation tests of the J9 unit.
int32_t GetCalmGaugeTestDate(int32_t i);
int32_t GetCalmGaugeTestValue(int32_t i);

// The programme image (j9_reads.h ReadJ9Program).
void GetProgramSummary(FitnessProgramSummary& info);
// Entry n (0..6) of the programme; false (record reset) for another n.
bool GetProgramFileInfo(int32_t n, FitnessProgramFile& info);

// The programme image's positions, shared with the programme write that fills the same layout.
inline constexpr int32_t kProgramEntries = 7;
inline constexpr int32_t kProgramEntryStart = 18;
inline constexpr int32_t kProgramEntrySize = 20;
inline constexpr int32_t kProgramEntryName = 10;
inline constexpr int32_t kProgramEntryLast = 18;
inline constexpr size_t kProgramNameLength = 8;

}  // namespace quibra::exercise

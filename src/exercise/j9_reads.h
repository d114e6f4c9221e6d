// Reading the J9 fitness unit (type 27): its EEPROM is fetched block by block with the block
// read of area 56, and the blocks are assembled into the exercise memory in the fixed layouts
// that the fitness getters read (fitness_data.h). Each whole read has step functions beside it
// for applications that drive the block reads themselves; a whole read is exactly its steps with
// a block read between them.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::exercise {

// What a J9 sequence keeps between its steps.
struct J9ReadState {
  int32_t copied = 0;            // bytes copied into the image so far by the current sequence
  int32_t relaxation_count = 0;  // relaxation tests the unit holds, from its last count read
};

inline constexpr int32_t kTestKindFitness = 0;
inline constexpr int32_t kTestKindRelaxation = 1;

// The block that the next read of area 56 fetches; it arrives at scratch index 8 on.
void SetFitnessBlock(int32_t address, int32_t count);
// Reads the block set last (or another area of the unit) with the send-with-progress call;
// true when the unit answered.
bool ReadFitnessBlock(CommParams& params, int32_t area);

// Exercise summaries: returns the number of files, 0 when a read failed.
int32_t ReadJ9ExerciseFiles(CommParams& params);
void J9ExerciseFilesStart();              // step 1
int32_t J9ExerciseFilesHeader();          // step 2: the file count
int32_t J9ExerciseFilesBlock(int32_t n);  // step 3: the block address of summary n, 0 for
                                          // n outside 0..255
void J9ExerciseFilesCopy(int32_t n);      // step 4

// Fitness (kind 0) or relaxation (kind 1) test results: the number of blocks read, 0 when a
// read failed or the kind is unknown.
int32_t ReadJ9TestResults(CommParams& params, int32_t kind);
int32_t J9TestCountBlock(int32_t kind);               // step 0: 1 when kind 1 needs its count read
int32_t J9TestResultsStart(int32_t kind);             // step 1: the number of blocks
int32_t J9TestResultsBlock(int32_t kind, int32_t i);  // step 2: the block address
void J9TestResultsCopy(int32_t kind);                 // step 3

// The training programme: 4, or 0 when a read failed.
int32_t ReadJ9Program(CommParams& params);
inline constexpr int32_t kProgramBlocks = 4;
int32_t J9ProgramStart();           // step 1: the number of blocks
int32_t J9ProgramBlock(int32_t i);  // step 2: the block address
void J9ProgramCopy(int32_t i);      // step 3
int32_t J9ProgramModeBlock();       // step 4: the block address
void J9ProgramFinish();             // step 5

// The image's byte count, which the copy steps report.
int32_t J9ImageCount();

// Block numbers the steps take: a unit counts its files and blocks in one byte.
inline constexpr int32_t kLargestBlockNumber = 255;

}  // namespace quibra::exercise

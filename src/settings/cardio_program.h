// The cardio programme of the fitness units of types 26 and 27 (message 9065), and the J9
// unit's programme write, which puts the same 162 bytes into its EEPROM block by block.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

// Checks the record and packs and seals 9065; false when a check fails (image untouched).
bool PrepareCardioProgram(CardioProgram& record);
// Over infrared: the J9 programme write; by sound or through the data file: 9065 itself (read
// from the data file, the record is filled from it).
int32_t SendCardioProgram(CommParams& params, CardioProgram& record);

// The J9 programme write: five blocks (four of 40 bytes, one of 2) from EEPROM address 31744,
// each a block write of area 50, then the command that makes the unit take them.
inline constexpr int32_t kProgramWriteBlocks = 5;
// Sets area 50 to block i; returns its address (0 for i outside 0..4).
int32_t ProgramWriteBlock(int32_t i);
// Writes the prepared 9065 image to the unit; 1 when every block was acknowledged.
int32_t WriteJ9Program(CommParams& params);

}  // namespace quibra::settings

// The exercise memory on disk: the binary exercise file (one raw byte per image position) and
// the memory text dump (the byte count, a version number, then one decimal number per line).
// Both hold one entry per position from position 0, which does not exist and is written as 0;
// the last entry is position N (the byte count), so that a file loads back to the same image.
#pragma once

#include <cstdint>
#include <string>

#include "quibra/records.h"

namespace quibra::exercise {

// fnQuibra_SaveExerciseBinFile / fnQuibra_LoadExerciseBinFile: the path from params, or from
// the save or open dialog when it is empty. 1, or 0 with error code 2 (dialog cancelled, file
// not created or opened); saving gives 0 when a write failed.
int32_t SaveExerciseBinFile(const CommParams& params);
int32_t LoadExerciseBinFile(const CommParams& params);

// Writes the image as a memory text dump; false when the file cannot be created or written.
bool WriteMemoryDump(const std::string& path);
// Reads a memory text dump (mode 1: one more header line, entries from position 2) into the
// image; returns the version number it carries. 0 with error code 2 when it cannot be opened.
int32_t ReadBinaryMemoryFile(const std::string& path, int32_t mode);

}  // namespace quibra::exercise

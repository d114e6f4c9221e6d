// The data file that stands in for a unit: message images are written to it and read from it
// in sections headed by a line "OrvekData<id>".
#pragma once

#include <cstdint>
#include <string>

#include "quibra/records.h"

namespace quibra::protocol {

// The section line of a message: "OrvekData9003".
std::string DataFileSectionName(int32_t id);

enum class SectionSearch { Found, Absent, FileNotOpened };

// Looks for a line that reads exactly the section name of the message (line ends excluded).
SectionSearch FindDataFileSection(const char* path, int32_t id);

// With ReadFromDataFile clear: 1, file untouched. Otherwise the first of 9003, 9068, 9017 whose
// section the file holds, 0 when none, 0 with last error 2 when the file cannot be opened.
int32_t GetIDFromDataFile(const CommParams& params);

}  // namespace quibra::protocol

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

namespace quibra::protocol {

// The data file in place of a transfer. With WriteToDataFile set: the file at FilePath is made
// anew with the section line of the message, CR LF, the first L image bytes (L = the message's
// length with parameter 1), CR, LF and a zero byte. With it clear: 1, nothing written.
// An empty path or a file that cannot be made: last error 2, result 0.
int32_t WriteDataFile(const CommParams& params, int32_t id, int32_t param);

// With ReadFromDataFile set: finds the message's section from the start of the file and stores
// the L bytes after its line at image indexes 1..L (missing bytes of a short file as 0). File
// not opened: last error 2, result 0; section absent: 0. With it clear: 1.
int32_t ReadDataFile(const CommParams& params, int32_t id, int32_t param);

}  // namespace quibra::protocol

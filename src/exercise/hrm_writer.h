// The HRM exercise file: the exercise the record store holds, as 8-bit text with CR LF line
// ends, in four blocks: [Params], [IntTimes] (five rows per lap), [Trip] (extended samples only)
// and [HRData] (one line per sample). The blocks read the store only through the exported
// getters, so the file shows exactly what an application sees.
#pragma once

#include <cstdint>
#include <string>

namespace quibra::exercise {

// The blocks, each with its closing empty line (none after the last sample).
std::string HrmParamsBlock();
std::string HrmIntTimesBlock();
std::string HrmTripBlock();  // empty when the exercise has no extended samples
std::string HrmDataBlock();

// fnQuibra_SaveExerciseHRM: path is the caller's buffer of at least 260 characters; when it is
// empty the save dialog asks for the name (owned by window) and the chosen path is written back.
// 1 when all blocks were written; 0 with error code 2 for a cancelled dialog or a file that
// cannot be created; 0 when a write failed.
int32_t SaveExerciseHRM(uint32_t window, char* path);

}  // namespace quibra::exercise

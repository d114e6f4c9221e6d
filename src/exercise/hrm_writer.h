// The HRM exercise file: the exercise the record store holds, as 8-bit text with CR LF line
// ends, in four blocks: [Params], [IntTimes] (five rows per lap), [Trip] (extended samples only)
// and [HRData] (one line per sample). The blocks are formatted from the record under the store's
// lock, so a file is one exercise even while a download refills the store, and they answer as
// the exported getters did at that moment.
#pragma once

#include <cstdint>
#include <string>

#include "exercise/record_store.h"

namespace quibra::exercise {

// The blocks, each with its closing empty line (none after the last sample).
std::string HrmParamsBlock(const ExerciseRecord& exercise);
// "[Note]" with the exercise's name, after the [Params] block; nothing for an exercise without
// a name.
std::string HrmNoteBlock(const std::string& name);
std::string HrmIntTimesBlock(const ExerciseRecord& exercise);
// Empty when the exercise has no extended samples.
std::string HrmTripBlock(const ExerciseRecord& exercise);
std::string HrmDataBlock(const ExerciseRecord& exercise);

// fnQuibra_SaveExerciseHRM: path is the caller's buffer of at least 260 characters; when it is
// empty the save dialog asks for the name (owned by window) and the chosen path is written back.
// 1 when all blocks were written; 0 with error code 2 for a cancelled dialog or a file that
// cannot be created; 0 when a write failed.
int32_t SaveExerciseHRM(uint32_t window, char* path);

}  // namespace quibra::exercise

// Downloading exercises: the whole exercise memory (9011), a transfer the unit starts itself
// (9025) or one file of the file-based units (9106), with the download dialog when the caller
// gives a window and silently otherwise; the refresh of the detected unit that follows a
// download; and the listing of one file from its first 50 bytes.
#pragma once

#include <cstdint>
#include <optional>

#include "quibra/records.h"

namespace quibra::exercise {

// Results of the silent downloads: 1 completed, 2 no link, 3 no answer, 0 anything else. With a
// window, the dialog's result (1 completed, 0 closed by the user).
int32_t ReadExercisesData(uint32_t window, int32_t mode);
int32_t ReadExerciseFile(uint32_t window, int32_t file_index, int32_t max_bytes);
// Lists file `file_index` of a file-based unit from the first 50 bytes of the file. 1, or 0
// when the read failed.
int32_t GetExeFileInfoEx(uint32_t window, int32_t file_index, ExeFileInfo& info);

// Sets the detected unit from the downloaded memory: type = map(position 3) and variant =
// position 4; extended (a single file): code = position 3 (+ 256 x position 4 when it is 255),
// variant = position 5. Types 22 and 23 then fetch the user value of the decoders, unless the
// download was a listen-only transfer.
void RefreshMonitorInfo(int32_t extended);

// Reads the user settings of the unit over infrared and returns their 32-bit field at byte 12,
// or nothing when the read failed. The user-settings transfer installs it in the module's
// analysis state; until it does, a refresh leaves the user value as it is.
// (The reader's type is UserValueSource in analysis.h.)

}  // namespace quibra::exercise

// Repair of the caller's communication parameters, and the module-wide last error code.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::frame {

// Link types of CommParams.
inline constexpr uint32_t kLinkSound = 0;
inline constexpr uint32_t kLinkInfrared = 1;

// Repairs the record in place and returns 1: a zero size becomes 364, a type outside 0..99
// becomes 0, and a link type other than 0 or 1 becomes 1 when default_infrared is nonzero
// (read calls), else 0 (send calls).
int32_t ValidateCommParams(CommParams& params, int32_t default_infrared);

// Last error codes.
inline constexpr int32_t kErrorTransferStarted = -1;
inline constexpr int32_t kErrorSoundPlayback = 1;
inline constexpr int32_t kErrorFile = 2;
inline constexpr int32_t kErrorTimeOfDay = 101;
inline constexpr int32_t kErrorDate = 102;
// An exercise whose recorded length does not fit the memory it came in.
inline constexpr int32_t kErrorExerciseLength = 103;

void SetErrorCode(int32_t code);
int32_t GetErrorCode();

}  // namespace quibra::frame

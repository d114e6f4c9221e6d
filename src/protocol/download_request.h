// The request of an exercise download: which message fetches what the download selection asks
// for, with the single-file request's image filled in.
#pragma once

#include <cstdint>

namespace quibra::protocol {

// The message the selection asks for: the exercise memory (9011), a listen-only transfer (9025)
// or one file (9106), whose request image is filled first (file index low and high byte, the low
// byte of the byte limit).
int32_t PrepareExerciseDownload();

}  // namespace quibra::protocol

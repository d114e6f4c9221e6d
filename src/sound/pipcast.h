// Sound upload: a message image (or arbitrary bytes) turned into the upload wave and played to
// the unit through the loudspeaker, optionally behind the "PIPCAST_CONNECTION" dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "quibra/records.h"

namespace quibra::sound {

// Sends count bytes (the low byte of each value) followed by their CRC-16 as sound. 1 when the
// sound was played, 0 when the name, the file or the playback failed (the file then stays), or
// for more than 298 bytes.
int32_t WritePipcastData(int32_t count, const int32_t* values);

// Delivers a prepared message image by sound (or, when the record asks for it, through the data
// file): two zero bytes, the image, two zero bytes. 1 on success; 0 with error 2 when the wave
// file cannot be made, 0 with error 1 when playback is refused.
int32_t SendBySoundOrDataFile(CommParams& params, int32_t id, int32_t param);

// A fresh temporary wave file name: the system's unique "HRM....tmp" name with "wav" for "tmp".
std::optional<std::string> TemporaryWaveName();

}  // namespace quibra::sound

// A recording replayed in place of the sound card (fnQuibraExt_SetRecordedSoundInput): an
// application that keeps a unit's sound download as a wave file receives it again through the
// same capture, filter and demodulator, and may let it run faster than it was recorded.
#pragma once

#include <cstdint>

namespace quibra::sound {

inline constexpr int32_t kMaxReplaySpeedUp = 1000;

// Replays the wave file at `path` as the recording device and runs the library's clock speed_up
// (1..kMaxReplaySpeedUp) times faster; a null or empty path returns to the sound card and the
// system clock. false, with nothing changed, for a file that is not a PCM wave, a speed-up out
// of range, or while a reception runs (its capture thread reads the device in force).
bool SetRecordedSoundInput(const char* path, int32_t speed_up);

}  // namespace quibra::sound

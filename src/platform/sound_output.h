// Sound out of the platform seam: plays a wave file to the end.
#pragma once

#include <memory>
#include <string>

namespace quibra::platform {

// Contract: play_wave_file blocks until the whole file has played; false when the system
// refuses (no device, unreadable file, unsupported format). Called on the caller's thread.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual bool play_wave_file(const std::string& path) = 0;
};

// A new handle on the platform's sound output (ALSA on Linux where a device exists, PlaySoundA
// on Windows).
std::unique_ptr<SoundOutput> make_system_sound_output();

}  // namespace quibra::platform

// win32 backend of sound out: PlaySoundA with the file name, synchronously.
#include <windows.h>
// (kept apart so that include sorting leaves the order alone)
#include <mmsystem.h>

#include "platform/sound_output.h"

namespace quibra::platform {
namespace {

class Win32SoundOutput final : public SoundOutput {
 public:
  bool play_wave_file(const std::string& path) override {
    return PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_SYNC) != FALSE;
  }
};

}  // namespace

std::unique_ptr<SoundOutput> make_system_sound_output() {
  return std::make_unique<Win32SoundOutput>();
}

}  // namespace quibra::platform

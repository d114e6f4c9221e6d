// posix backend of sound out: ALSA's default playback device. Without libasound or a playback
// device, playing fails, as a refused playback should.
#include "platform/posix/alsa_library.h"
#include "platform/sound_output.h"
#include "platform/wave_file.h"

namespace quibra::platform {
namespace {

constexpr unsigned kLatencyUs = 200000;

class AlsaSoundOutput final : public SoundOutput {
 public:
  bool play_wave_file(const std::string& path) override {
    WaveData wave;
    if (!ReadWaveFile(path, wave) || wave.frame_bytes() == 0) return false;
    AlsaLibrary alsa;
    if (!alsa.load()) return false;
    const bool played = play(alsa, wave);
    alsa.unload();
    return played;
  }

 private:
  static bool play(const AlsaLibrary& alsa, const WaveData& wave) {
    void* pcm = nullptr;
    if (alsa.open(&pcm, "default", AlsaLibrary::kStreamPlayback, 0) < 0 || pcm == nullptr)
      return false;
    const int format = wave.bits == 8 ? AlsaLibrary::kFormatU8 : AlsaLibrary::kFormatS16Le;
    bool ok = alsa.set_params(pcm, format, AlsaLibrary::kAccessRwInterleaved, wave.channels,
                              wave.rate, 1, kLatencyUs) >= 0;
    const unsigned long frames = wave.samples.size() / wave.frame_bytes();
    for (unsigned long done = 0; ok && done < frames;) {
      long written =
          alsa.writei(pcm, wave.samples.data() + done * wave.frame_bytes(), frames - done);
      if (written < 0) written = alsa.recover(pcm, static_cast<int>(written), 1);
      if (written < 0)
        ok = false;
      else
        done += static_cast<unsigned long>(written);
    }
    if (ok) alsa.drain(pcm);
    alsa.close(pcm);
    return ok;
  }
};

}  // namespace

std::unique_ptr<SoundOutput> make_system_sound_output() {
  return std::make_unique<AlsaSoundOutput>();
}

}  // namespace quibra::platform

// posix backend of sound out: ALSA's default playback device, loaded at run time so that the
// library neither builds nor loads against it where it is absent. Without libasound or a
// playback device, playing fails, as a refused playback should.
#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/sound_output.h"

namespace quibra::platform {
namespace {

// The few ALSA entries and constants used, as the library's ABI defines them.
using PcmOpen = int (*)(void** pcm, const char* name, int stream, int mode);
using PcmSetParams = int (*)(void* pcm, int format, int access, unsigned channels, unsigned rate,
                             int soft_resample, unsigned latency_us);
using PcmWritei = long (*)(void* pcm, const void* buffer, unsigned long frames);
using PcmRecover = int (*)(void* pcm, int error, int silent);
using PcmDrain = int (*)(void* pcm);
using PcmClose = int (*)(void* pcm);
constexpr int kStreamPlayback = 0;
constexpr int kFormatU8 = 1;
constexpr int kFormatS16Le = 2;
constexpr int kAccessRwInterleaved = 3;
constexpr unsigned kLatencyUs = 200000;

struct Wave {
  int format = -1;
  unsigned channels = 0;
  unsigned rate = 0;
  unsigned frame_bytes = 0;
  std::vector<uint8_t> samples;
};

uint32_t le(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = value << 8 | at[i];
  return value;
}

// A PCM wave file's format and samples (8-bit unsigned or 16-bit little-endian).
bool read_wave(const std::string& path, Wave& wave) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool have_format = false;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const uint32_t size = le(bytes.data() + at + 4, 4);
    const size_t body = at + 8;
    if (size > bytes.size() - body) return false;
    if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && size >= 16) {
      const uint32_t bits = le(bytes.data() + body + 14, 2);
      if (le(bytes.data() + body, 2) != 1 || (bits != 8 && bits != 16)) return false;
      wave.channels = le(bytes.data() + body + 2, 2);
      wave.rate = le(bytes.data() + body + 4, 4);
      wave.format = bits == 8 ? kFormatU8 : kFormatS16Le;
      wave.frame_bytes = wave.channels * bits / 8;
      have_format = wave.channels > 0;
    } else if (std::memcmp(bytes.data() + at, "data", 4) == 0 && have_format) {
      wave.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(body),
                          bytes.begin() + static_cast<std::ptrdiff_t>(body + size));
      return true;
    }
    at = body + size + (size & 1);
  }
  return false;
}

class AlsaSoundOutput final : public SoundOutput {
 public:
  bool play_wave_file(const std::string& path) override {
    Wave wave;
    if (!read_wave(path, wave)) return false;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) return false;
    const bool played = play(alsa, wave);
    dlclose(alsa);
    return played;
  }

 private:
  static bool play(void* alsa, const Wave& wave) {
    auto open = reinterpret_cast<PcmOpen>(dlsym(alsa, "snd_pcm_open"));
    auto set_params = reinterpret_cast<PcmSetParams>(dlsym(alsa, "snd_pcm_set_params"));
    auto writei = reinterpret_cast<PcmWritei>(dlsym(alsa, "snd_pcm_writei"));
    auto recover = reinterpret_cast<PcmRecover>(dlsym(alsa, "snd_pcm_recover"));
    auto drain = reinterpret_cast<PcmDrain>(dlsym(alsa, "snd_pcm_drain"));
    auto close = reinterpret_cast<PcmClose>(dlsym(alsa, "snd_pcm_close"));
    if (!open || !set_params || !writei || !recover || !drain || !close) return false;
    void* pcm = nullptr;
    if (open(&pcm, "default", kStreamPlayback, 0) < 0 || pcm == nullptr) return false;
    bool ok = set_params(pcm, wave.format, kAccessRwInterleaved, wave.channels, wave.rate, 1,
                         kLatencyUs) >= 0;
    const unsigned long frames = wave.samples.size() / wave.frame_bytes;
    for (unsigned long done = 0; ok && done < frames;) {
      long written = writei(pcm, wave.samples.data() + done * wave.frame_bytes, frames - done);
      if (written < 0) written = recover(pcm, static_cast<int>(written), 1);
      if (written < 0)
        ok = false;
      else
        done += static_cast<unsigned long>(written);
    }
    if (ok) drain(pcm);
    close(pcm);
    return ok;
  }
};

}  // namespace

SoundOutput& system_sound_output() {
  static AlsaSoundOutput instance;
  return instance;
}

}  // namespace quibra::platform

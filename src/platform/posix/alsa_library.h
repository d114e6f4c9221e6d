// The few entries of ALSA's libasound that the sound backends use, loaded at run time so that the
// library neither builds nor loads against it where it is absent. Types and constants are those
// of the library's ABI.
#pragma once

#include <dlfcn.h>

namespace quibra::platform {

struct AlsaLibrary {
  using PcmOpen = int (*)(void** pcm, const char* name, int stream, int mode);
  using PcmSetParams = int (*)(void* pcm, int format, int access, unsigned channels, unsigned rate,
                               int soft_resample, unsigned latency_us);
  using PcmWritei = long (*)(void* pcm, const void* buffer, unsigned long frames);
  using PcmReadi = long (*)(void* pcm, void* buffer, unsigned long frames);
  using PcmWait = int (*)(void* pcm, int timeout_ms);
  using PcmRecover = int (*)(void* pcm, int error, int silent);
  using PcmDrain = int (*)(void* pcm);
  using PcmClose = int (*)(void* pcm);
  using CardNext = int (*)(int* card);

  static constexpr int kStreamPlayback = 0;
  static constexpr int kStreamCapture = 1;
  static constexpr int kNonBlocking = 1;
  static constexpr int kFormatU8 = 1;
  static constexpr int kFormatS16Le = 2;
  static constexpr int kAccessRwInterleaved = 3;

  // Loads libasound and every entry; false (and nothing held) when any is missing.
  bool load() {
    handle = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return false;
    const bool complete = entry(open, "snd_pcm_open") && entry(set_params, "snd_pcm_set_params") &&
                          entry(writei, "snd_pcm_writei") && entry(readi, "snd_pcm_readi") &&
                          entry(wait, "snd_pcm_wait") && entry(recover, "snd_pcm_recover") &&
                          entry(drain, "snd_pcm_drain") && entry(close, "snd_pcm_close") &&
                          entry(card_next, "snd_card_next");
    if (!complete) unload();
    return complete;
  }
  void unload() {
    if (handle != nullptr) dlclose(handle);
    handle = nullptr;
  }

  void* handle = nullptr;
  PcmOpen open = nullptr;
  PcmSetParams set_params = nullptr;
  PcmWritei writei = nullptr;
  PcmReadi readi = nullptr;
  PcmWait wait = nullptr;
  PcmRecover recover = nullptr;
  PcmDrain drain = nullptr;
  PcmClose close = nullptr;
  CardNext card_next = nullptr;

 private:
  template <typename Entry>
  bool entry(Entry& slot, const char* name) {
    slot = reinterpret_cast<Entry>(dlsym(handle, name));
    return slot != nullptr;
  }
};

}  // namespace quibra::platform

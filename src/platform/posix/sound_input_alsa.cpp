// posix backend of sound in: ALSA's default capture device, non-blocking, waited on with a
// time-out. Without libasound or a sound card the system has no recording device.
#include <cerrno>
#include <chrono>

#include "platform/posix/alsa_library.h"
#include "platform/sound_input.h"

namespace quibra::platform {
namespace {

constexpr unsigned kLatencyUs = 250000;

class AlsaSoundInput final : public SoundInput {
 public:
  ~AlsaSoundInput() override { close(); }

  bool has_device() override {
    AlsaLibrary alsa;
    if (!alsa.load()) return false;
    int card = -1;
    const bool any = alsa.card_next(&card) == 0 && card >= 0;
    alsa.unload();
    return any;
  }

  OpenResult open(int32_t sample_rate) override {
    close();
    if (!alsa_.load()) return OpenResult::kFailed;
    int rc = alsa_.open(&pcm_, "default", AlsaLibrary::kStreamCapture, AlsaLibrary::kNonBlocking);
    if (rc < 0 || pcm_ == nullptr) {
      pcm_ = nullptr;
      close();
      return rc == -EBUSY ? OpenResult::kBusy : OpenResult::kFailed;
    }
    rc = alsa_.set_params(pcm_, AlsaLibrary::kFormatU8, AlsaLibrary::kAccessRwInterleaved, 1,
                          static_cast<unsigned>(sample_rate), 0, kLatencyUs);
    if (rc < 0) {
      close();
      return rc == -EINVAL ? OpenResult::kUnsupported : OpenResult::kFailed;
    }
    return OpenResult::kRecording;
  }

  ReadResult read(uint8_t* samples, size_t count, uint32_t timeout_ms) override {
    if (pcm_ == nullptr) return ReadResult::kFailed;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    size_t done = 0;
    while (done < count) {
      // The first read starts the capture stream.
      const long got = alsa_.readi(pcm_, samples + done, count - done);
      if (got > 0) {
        done += static_cast<size_t>(got);
        continue;
      }
      if (got < 0 && got != -EAGAIN) {
        if (alsa_.recover(pcm_, static_cast<int>(got), 1) < 0) return ReadResult::kFailed;
        continue;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return ReadResult::kTimeout;
      const int ready = alsa_.wait(pcm_, static_cast<int>(left));
      if (ready == 0) return ReadResult::kTimeout;
      if (ready < 0 && alsa_.recover(pcm_, ready, 1) < 0) return ReadResult::kFailed;
    }
    return ReadResult::kBlock;
  }

  void close() override {
    if (pcm_ != nullptr) alsa_.close(pcm_);
    pcm_ = nullptr;
    alsa_.unload();
  }

 private:
  AlsaLibrary alsa_;
  void* pcm_ = nullptr;
};

}  // namespace

std::unique_ptr<SoundInput> make_system_sound_input() {
  return std::make_unique<AlsaSoundInput>();
}

}  // namespace quibra::platform

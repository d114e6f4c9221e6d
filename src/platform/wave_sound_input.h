// A recording device that plays a recording instead of listening: the samples of a wave file (or
// of memory) are delivered block by block, and silence after them, as a room falls quiet when
// the unit stops beeping. A file on disk is there already, so its blocks come as fast as they
// are taken; a live stand-in (tests of the dialogs) delivers each block when it would have been
// recorded. The silence always comes at the pace of the clock in force, so that a reception's
// silence limit is reached in its own time rather than by spinning. Tests and the command-line tool put it
// in place of the sound card.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_input.h"

namespace quibra::platform {

class WaveSoundInput final : public SoundInput {
 public:
  enum class Pace { kAsRead, kLive };
  // 8-bit unsigned mono samples recorded at sample_rate.
  WaveSoundInput(std::vector<uint8_t> samples, int32_t sample_rate, Pace pace = Pace::kAsRead)
      : samples_(std::move(samples)), rate_(sample_rate), pace_(pace) {}
  // A PCM wave file; 16-bit samples are taken to 8 bits and only the first channel is kept.
  // Nothing when the file cannot be read.
  static std::unique_ptr<WaveSoundInput> FromFile(const std::string& path);

  bool has_device() override { return true; }
  // Only the recording's own rate can be recorded.
  OpenResult open(int32_t sample_rate) override;
  ReadResult read(uint8_t* samples, size_t count, uint32_t timeout_ms) override;
  void close() override { open_ = false; }

 private:
  std::vector<uint8_t> samples_;
  int32_t rate_;
  Pace pace_;
  std::atomic<size_t> position_{0};
  std::atomic<bool> open_{false};
};

}  // namespace quibra::platform

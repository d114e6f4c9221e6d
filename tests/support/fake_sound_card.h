// Test support: a sound card that is absent, refuses to open, fails while recording, records
// endless silence, or records the sound of a simulated unit, played at the pace of the clock.
#pragma once

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "platform/sound_input.h"
#include "platform/wave_sound_input.h"
#include "tonvox_signal.h"

namespace quibra::testing {

class FakeSoundCard final : public platform::SoundInput {
 public:
  using Open = OpenResult;
  using Read = ReadResult;

  bool device = true;
  Open open_result = Open::kRecording;
  bool fail_reads = false;
  // Silence that never lets the clock move, so the reception never times out.
  bool endless_silence = false;
  std::optional<platform::WaveSoundInput> recording;
  int opens = 0;
  int closes = 0;
  int32_t opened_rate = 0;

  bool has_device() override { return device; }
  Open open(int32_t rate) override {
    ++opens;
    opened_rate = rate;
    if (open_result != Open::kRecording) return open_result;
    return recording ? recording->open(rate) : Open::kRecording;
  }
  Read read(uint8_t* samples, size_t count, uint32_t timeout_ms) override {
    if (fail_reads) return Read::kFailed;
    if (endless_silence || !recording) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      std::fill(samples, samples + count, 128);
      return Read::kBlock;
    }
    return recording->read(samples, count, timeout_ms);
  }
  void close() override { ++closes; }

  // Records the sound a simulated unit makes when it sends these bytes.
  void play(const std::vector<uint8_t>& bytes, const sim::BeepSound& sound = {}) {
    recording.emplace(sim::RenderBeeps(bytes, sound), sound.sample_rate,
                      platform::WaveSoundInput::Pace::kLive);
  }
};

}  // namespace quibra::testing

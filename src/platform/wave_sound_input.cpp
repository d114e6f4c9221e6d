#include "platform/wave_sound_input.h"

#include <algorithm>
#include <cstring>

#include "platform/registry.h"
#include "platform/wave_file.h"

namespace quibra::platform {

std::unique_ptr<WaveSoundInput> WaveSoundInput::FromFile(const std::string& path) {
  WaveData wave;
  if (!ReadWaveFile(path, wave) || wave.frame_bytes() == 0) return nullptr;
  const size_t frames = wave.samples.size() / wave.frame_bytes();
  std::vector<uint8_t> mono(frames);
  for (size_t i = 0; i < frames; ++i) {
    const uint8_t* frame = wave.samples.data() + i * wave.frame_bytes();
    // 16-bit samples are signed: their high byte plus 128 is the 8-bit unsigned sample.
    mono[i] = wave.bits == 8 ? frame[0] : static_cast<uint8_t>(frame[1] + 128);
  }
  return std::make_unique<WaveSoundInput>(std::move(mono), static_cast<int32_t>(wave.rate));
}

SoundInput::OpenResult WaveSoundInput::open(int32_t sample_rate) {
  if (sample_rate != rate_) return OpenResult::kUnsupported;
  position_ = 0;
  open_ = true;
  return OpenResult::kRecording;
}

SoundInput::ReadResult WaveSoundInput::read(uint8_t* samples, size_t count, uint32_t) {
  if (!open_ || rate_ <= 0) return ReadResult::kFailed;
  const size_t at = position_;
  const size_t taken = std::min(count, samples_.size() - std::min(at, samples_.size()));
  const size_t paced = pace_ == Pace::kLive ? count : count - taken;
  if (paced > 0) clock().sleep_ms(static_cast<uint32_t>(paced * 1000 / static_cast<size_t>(rate_)));
  if (taken > 0) std::memcpy(samples, samples_.data() + at, taken);
  std::memset(samples + taken, 128, count - taken);
  position_ = at + taken;
  return ReadResult::kBlock;
}

}  // namespace quibra::platform

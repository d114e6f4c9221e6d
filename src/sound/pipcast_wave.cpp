#include "sound/pipcast_wave.h"

#include "platform/wave_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace quibra::sound {
namespace {

// 2 pi as the units' sound code has always written it: the burst samples depend on it.
constexpr double kTwoPi = 6.28318;

// One burst, the same at the start of every tone symbol: sample n is 128 sin(...) truncated
// toward zero, stored as that signed value modulo 256 (no 128 offset, unlike silence).
const std::vector<uint8_t>& tone_burst() {
  static const std::vector<uint8_t> burst = [] {
    const ToneParameters& t = kPipcastTone;
    std::vector<uint8_t> samples(static_cast<size_t>(BurstSamples(t)));
    for (size_t n = 0; n < samples.size(); ++n) {
      const double value =
          128.0 * std::sin(t.tone_frequency * kTwoPi * static_cast<double>(n) / t.sample_rate);
      samples[n] = static_cast<uint8_t>(static_cast<int32_t>(value) & 0xFF);
    }
    return samples;
  }();
  return burst;
}

}  // namespace

int32_t SymbolSamples(const ToneParameters& tone) {
  return tone.sample_rate / tone.symbol_rate;
}

int32_t BurstSamples(const ToneParameters& tone) {
  int32_t middle = 1000 / tone.symbol_rate / tone.tone_divisor;
  if (middle == 0) middle = 1;
  return SymbolSamples(tone) / middle;
}

int32_t SymbolsPerByte(const ToneParameters& tone) {
  return tone.gap_symbols + 9;
}

std::vector<uint8_t> EncodePipcastWave(std::span<const uint8_t> bytes) {
  const ToneParameters& t = kPipcastTone;
  const auto symbol = static_cast<size_t>(SymbolSamples(t));
  const size_t per_byte = static_cast<size_t>(SymbolsPerByte(t)) * symbol;
  const size_t data_bytes = bytes.size() * per_byte;
  std::vector<uint8_t> wave(kWaveHeaderBytes + data_bytes, kSilence);

  platform::PutWaveHeader(wave.data(), static_cast<unsigned>(t.sample_rate),
                          static_cast<unsigned>(t.bits_per_sample),
                          static_cast<unsigned>(t.channels), data_bytes);

  // Everything starts as silence; only the bursts of the tone symbols are written.
  const std::vector<uint8_t>& burst = tone_burst();
  uint8_t* at = wave.data() + kWaveHeaderBytes;
  for (uint8_t byte : bytes) {
    std::memcpy(at, burst.data(), burst.size());  // the start tone
    for (size_t bit = 0; bit < 8; ++bit) {
      if ((byte >> bit) & 1) std::memcpy(at + (bit + 1) * symbol, burst.data(), burst.size());
    }
    at += per_byte;
  }
  return wave;
}

bool WritePipcastWave(const std::string& path, std::span<const uint8_t> bytes) {
  return platform::WriteWholeFile(path, EncodePipcastWave(bytes));
}

}  // namespace quibra::sound

#include "sound/pipcast_wave.h"

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

void put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
  put16(at, value & 0xFFFF);
  put16(at + 2, value >> 16);
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

  uint8_t* h = wave.data();
  std::memcpy(h, "RIFF", 4);
  put32(h + 4, static_cast<uint32_t>(data_bytes + 36));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(h + 16, 16);
  put16(h + 20, 1);  // PCM
  put16(h + 22, static_cast<uint32_t>(t.channels));
  put32(h + 24, static_cast<uint32_t>(t.sample_rate));
  put32(h + 28, static_cast<uint32_t>(t.sample_rate * t.bits_per_sample / 8 * t.channels));
  put16(h + 32, static_cast<uint32_t>(t.channels * t.bits_per_sample / 8));
  put16(h + 34, static_cast<uint32_t>(t.bits_per_sample));
  std::memcpy(h + 36, "data", 4);
  put32(h + 40, static_cast<uint32_t>(data_bytes));

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
  const std::vector<uint8_t> wave = EncodePipcastWave(bytes);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(wave.data(), 1, wave.size(), file) == wave.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace quibra::sound

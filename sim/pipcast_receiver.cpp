#include "pipcast_receiver.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quibra::sim {
namespace {

constexpr uint32_t kSampleRate = 44100;
constexpr size_t kSymbol = 441;  // 10 ms
constexpr double kToneHz = 5400.0;
constexpr double kPi = 3.14159265358979323846;

uint32_t le(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = value << 8 | at[i];
  return value;
}

// Power at the tone frequency over one symbol (Goertzel), with the samples centred on silence.
double tone_power(const uint8_t* samples, size_t count) {
  const double coefficient = 2.0 * std::cos(2.0 * kPi * kToneHz / kSampleRate);
  double s1 = 0, s2 = 0;
  for (size_t i = 0; i < count; ++i) {
    const double s = (static_cast<double>(samples[i]) - 128.0) + coefficient * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

}  // namespace

std::optional<std::vector<uint8_t>> ListenToPipcast(std::span<const uint8_t> wave) {
  if (wave.size() < 44 || std::memcmp(wave.data(), "RIFF", 4) != 0 ||
      std::memcmp(wave.data() + 8, "WAVEfmt ", 8) != 0 || le(wave.data() + 20, 2) != 1 ||
      le(wave.data() + 22, 2) != 1 || le(wave.data() + 24, 4) != kSampleRate ||
      le(wave.data() + 34, 2) != 8 || std::memcmp(wave.data() + 36, "data", 4) != 0) {
    return std::nullopt;
  }
  const size_t data = std::min<size_t>(le(wave.data() + 40, 4), wave.size() - 44);
  const uint8_t* samples = wave.data() + 44;
  const size_t symbols = data / kSymbol;
  // A silent symbol has no power at the tone at all; any burst has plenty.
  constexpr double kThreshold = 1.0e6;
  auto is_tone = [&](size_t symbol) {
    return tone_power(samples + symbol * kSymbol, kSymbol) > kThreshold;
  };

  std::vector<uint8_t> bytes;
  size_t at = 0;
  while (at + 9 <= symbols) {
    if (!is_tone(at)) {
      ++at;  // silence between bytes
      continue;
    }
    uint8_t byte = 0;
    for (size_t bit = 0; bit < 8; ++bit) {
      if (is_tone(at + 1 + bit)) byte |= static_cast<uint8_t>(1u << bit);
    }
    bytes.push_back(byte);
    at += 10;  // start, eight bits, and the first gap symbol
  }
  return bytes;
}

std::optional<std::vector<uint8_t>> ListenToPipcastFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<uint8_t> wave((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
  return ListenToPipcast(wave);
}

}  // namespace quibra::sim

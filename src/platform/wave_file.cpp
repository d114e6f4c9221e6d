#include "platform/wave_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quibra::platform {
namespace {

uint32_t le(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = value << 8 | at[i];
  return value;
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

void PutWaveHeader(uint8_t* h, unsigned rate, unsigned bits, unsigned channels, size_t data_bytes) {
  std::memcpy(h, "RIFF", 4);
  put32(h + 4, static_cast<uint32_t>(data_bytes + 36));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(h + 16, 16);
  put16(h + 20, 1);  // PCM
  put16(h + 22, channels);
  put32(h + 24, rate);
  put32(h + 28, rate * bits / 8 * channels);
  put16(h + 32, channels * bits / 8);
  put16(h + 34, bits);
  std::memcpy(h + 36, "data", 4);
  put32(h + 40, static_cast<uint32_t>(data_bytes));
}

std::vector<uint8_t> EncodeWave8(const std::vector<uint8_t>& samples, unsigned rate) {
  std::vector<uint8_t> wave(kWaveHeaderBytes + samples.size());
  PutWaveHeader(wave.data(), rate, 8, 1, samples.size());
  std::copy(samples.begin(), samples.end(), wave.begin() + kWaveHeaderBytes);
  return wave;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

bool ParseWave(const std::vector<uint8_t>& bytes, WaveData& wave) {
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
      wave.bits = bits;
      wave.channels = le(bytes.data() + body + 2, 2);
      wave.rate = le(bytes.data() + body + 4, 4);
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

bool ReadWaveFile(const std::string& path, WaveData& wave) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  return ParseWave(bytes, wave);
}

}  // namespace quibra::platform

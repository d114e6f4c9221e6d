#include "platform/wave_file.h"

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

}  // namespace

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

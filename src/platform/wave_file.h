// Reading PCM wave files: the format chunk and the samples of the data chunk, as the sound
// output plays them and the wave-file sound input records from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quibra::platform {

struct WaveData {
  unsigned bits = 0;  // 8 (unsigned) or 16 (signed little-endian)
  unsigned channels = 0;
  unsigned rate = 0;
  std::vector<uint8_t> samples;  // the data chunk as stored
  unsigned frame_bytes() const { return channels * bits / 8; }
};

// False when the file cannot be read or is not an 8- or 16-bit PCM wave with a data chunk.
bool ReadWaveFile(const std::string& path, WaveData& wave);
// The same from bytes in memory.
bool ParseWave(const std::vector<uint8_t>& bytes, WaveData& wave);

}  // namespace quibra::platform

// Reading PCM wave files: the format chunk and the samples of the data chunk, as the sound
// output plays them and the wave-file sound input records from them.
#pragma once

#include <cstddef>
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

inline constexpr size_t kWaveHeaderBytes = 44;

// The 44-byte header of a PCM wave file whose data chunk holds data_bytes.
void PutWaveHeader(uint8_t* header, unsigned rate, unsigned bits, unsigned channels,
                   size_t data_bytes);
// A whole 8-bit mono wave file of the samples.
std::vector<uint8_t> EncodeWave8(const std::vector<uint8_t>& samples, unsigned rate);
// Writes bytes to a file; false when it cannot be opened, written or closed.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// False when the file cannot be read or is not an 8- or 16-bit PCM wave with a data chunk.
bool ReadWaveFile(const std::string& path, WaveData& wave);
// The same from bytes in memory.
bool ParseWave(const std::vector<uint8_t>& bytes, WaveData& wave);

}  // namespace quibra::platform

#include "wave_writer.h"

#include <array>
#include <fstream>
#include <limits>

namespace quibra::cli {
namespace {

constexpr size_t kHeaderBytes = 44;
constexpr uint32_t kFormatChunkBytes = 16;
constexpr uint16_t kPcm = 1;
constexpr uint16_t kMono = 1;
constexpr uint16_t kBitsPerSample = 8;

// Wave files are little-endian throughout.
void Put16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
  Put16(at, static_cast<uint16_t>(value));
  Put16(at + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace

bool WriteWave8(const std::string& path, const std::vector<uint8_t>& samples, int32_t rate) {
  // The RIFF size fields are 32 bits wide.
  if (rate <= 0 || samples.size() > std::numeric_limits<uint32_t>::max() - kHeaderBytes)
    return false;
  const auto data_bytes = static_cast<uint32_t>(samples.size());
  std::array<uint8_t, kHeaderBytes> header{'R', 'I', 'F', 'F', 0,   0,   0,   0,
                                           'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  Put32(&header[4], static_cast<uint32_t>(kHeaderBytes - 8) + data_bytes);
  Put32(&header[16], kFormatChunkBytes);
  Put16(&header[20], kPcm);
  Put16(&header[22], kMono);
  Put32(&header[24], static_cast<uint32_t>(rate));
  Put32(&header[28], static_cast<uint32_t>(rate));  // bytes a second: one a sample
  Put16(&header[32], kMono * kBitsPerSample / 8);   // bytes a frame
  Put16(&header[34], kBitsPerSample);
  header[36] = 'd';
  header[37] = 'a';
  header[38] = 't';
  header[39] = 'a';
  Put32(&header[40], data_bytes);

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(header.data()), header.size());
  file.write(reinterpret_cast<const char*>(samples.data()),
             static_cast<std::streamsize>(samples.size()));
  file.close();
  return !file.fail();
}

}  // namespace quibra::cli

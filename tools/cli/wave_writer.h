// Writing 8-bit mono PCM wave files: how the tool hands a simulated unit's beeps to a sound card
// or to `quibra sound receive --wav`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quibra::cli {

// Writes the samples (8-bit unsigned, 128 = silence) recorded at `rate` as a wave file; false
// when the file cannot be written in full.
bool WriteWave8(const std::string& path, const std::vector<uint8_t>& samples, int32_t rate);

}  // namespace quibra::cli

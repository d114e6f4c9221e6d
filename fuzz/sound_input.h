// The input format of the sound-reception fuzz target, shared with its seed writer. Byte 0 picks
// the road (bits 0..1), the unit (bits 2..3, an index into kSoundUnits), whether block errors are
// ignored (bit 4) and the recording rate (bit 5: 22 050, else 44 100); the rest is
// - road 0: a wave file, received through the filter, the demodulator and the assembler;
// - road 1: the bytes after synchronisation, handed to the packet assembler;
// - road 2 (and 3): the assembled data itself (the exercise memory from position 1).
// Whatever a road assembles is decoded by the sound analysis and read back.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::fuzz {

enum SoundRoad : uint8_t { kWaveRoad = 0, kAssemblerRoad = 1, kAnalysisRoad = 2 };

inline constexpr std::array<int32_t, 4> kSoundUnits = {6, 9, 10, 6};

inline constexpr uint8_t SoundSelector(SoundRoad road, int32_t unit_index, bool ignore_errors,
                                       bool rate_22050) {
  return static_cast<uint8_t>(road | (unit_index << 2) | (ignore_errors ? 0x10 : 0) |
                              (rate_22050 ? 0x20 : 0));
}

}  // namespace quibra::fuzz

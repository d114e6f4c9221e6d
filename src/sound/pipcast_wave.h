// The sound with which the PC sends bytes to a unit's microphone: an 8-bit mono wave at
// 44 100 Hz in which every byte is a start tone, its eight bits from bit 0 (a tone for 1,
// silence for 0) and two silent symbols. A symbol lasts 441 samples (10 ms); a tone symbol is a
// 220-sample burst at 5 400 Hz followed by silence.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/wave_file.h"

namespace quibra::sound {

// The tone parameters of the upload signal.
struct ToneParameters {
  int32_t sample_rate;
  int32_t bits_per_sample;
  int32_t channels;
  int32_t tone_divisor;
  int32_t tone_frequency;
  int32_t symbol_rate;
  int32_t gap_symbols;
};

inline constexpr ToneParameters kPipcastTone{44100, 8, 1, 5, 5400, 100, 2};

// Samples per symbol (441) and per tone burst (220).
int32_t SymbolSamples(const ToneParameters& tone);
int32_t BurstSamples(const ToneParameters& tone);
// Symbols per byte: the start tone, eight bits, and the gap.
int32_t SymbolsPerByte(const ToneParameters& tone);

inline constexpr uint8_t kSilence = 128;
using platform::kWaveHeaderBytes;

// The whole wave file (header and samples) that carries the bytes.
std::vector<uint8_t> EncodePipcastWave(std::span<const uint8_t> bytes);

// Writes the wave file; false when it cannot be opened, written or closed.
bool WritePipcastWave(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace quibra::sound

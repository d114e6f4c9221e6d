// The sound a unit sends when it downloads by sound: bytes as frames of short beeps (a reference
// beep, then a beep (k + 1) x 2 ms later for each set bit k), after a preamble of 0xAA frames.
// The bytes are an 8-byte header and blocks, plain with a CRC-16 each or Reed-Solomon coded (reed_solomon_encoder.h).
// Tests and the simulator use it to play a unit into the library's receiver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quibra::sim {

struct TonvoxTransfer {
  uint8_t header_byte1 = 0x01;
  uint8_t mode = 0;         // 2: Reed-Solomon blocks; anything else: plain blocks
  size_t block_data = 200;  // data bytes per block (at most 220 for Reed-Solomon)
};

// The byte stream of a transfer: the header (start byte 0x55 first) and the blocks. Every block
// starts with its index and the block count, then its data length.
std::vector<uint8_t> TonvoxBytes(const std::vector<uint8_t>& payload, const TonvoxTransfer& t);

struct BeepSound {
  int32_t sample_rate = 44100;
  double tone_hz = 4200;  // where the receiving filter of most unit types passes
  double amplitude = 12;  // in sample steps around 128, as a microphone picks it up
  double beep_ms = 0.6;
  double frame_ms = 25;  // a frame is read 20 ms after its reference beep
  int preamble_frames = 4;
  double lead_ms = 50;  // silence before the preamble
  double tail_ms = 50;  // and after the last frame
};

// The beep frequency a unit of the given type uses: types 6 and 10 beep high.
double BeepToneFor(int32_t monitor_type);

// 8-bit unsigned mono samples (128 = silence): the preamble, then one frame per byte.
std::vector<uint8_t> RenderBeeps(const std::vector<uint8_t>& bytes, const BeepSound& sound);

}  // namespace quibra::sim

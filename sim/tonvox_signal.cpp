#include "tonvox_signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "crc16.h"
#include "reed_solomon_encoder.h"

namespace quibra::sim {
namespace {

constexpr uint8_t kPreamble = 0xAA;
constexpr size_t kHeaderBytes = 8;

// Closes the header or a plain block with its checksum in its last two bytes.
void seal(std::vector<uint8_t>& bytes, size_t from, size_t length) {
  Crc16Seal(std::span<uint8_t>(bytes).subspan(from, length));
}

}  // namespace

std::vector<uint8_t> TonvoxBytes(const std::vector<uint8_t>& payload, const TonvoxTransfer& t) {
  const bool rs = t.mode == 2;
  const size_t per_block = std::max<size_t>(1, t.block_data);
  const size_t blocks = (payload.size() + per_block - 1) / per_block;
  std::vector<uint8_t> out(kHeaderBytes, 0);
  out[0] = 0x55;
  out[1] = t.header_byte1;
  out[2] = t.mode;
  out[3] = static_cast<uint8_t>(blocks);
  out[4] = static_cast<uint8_t>(payload.size());
  out[5] = static_cast<uint8_t>(payload.size() >> 8);
  seal(out, 0, kHeaderBytes);
  for (size_t b = 0; b < blocks; ++b) {
    const size_t from = b * per_block;
    const size_t length = std::min(per_block, payload.size() - from);
    const size_t start = out.size();
    out.push_back(static_cast<uint8_t>(b));
    out.push_back(static_cast<uint8_t>(blocks));
    out.push_back(static_cast<uint8_t>(length));
    out.insert(out.end(), payload.begin() + from, payload.begin() + from + length);
    if (rs) {
      out.resize(start + kRsBlock, 0);
      RsEncodeBlock(out.data() + start);
    } else {
      out.resize(out.size() + 2, 0);
      seal(out, start, out.size() - start);
    }
  }
  return out;
}

double BeepToneFor(int32_t monitor_type) {
  return monitor_type == 6 || monitor_type == 10 ? 8500 : 4200;
}

std::vector<uint8_t> RenderBeeps(const std::vector<uint8_t>& bytes, const BeepSound& s) {
  const double rate = s.sample_rate;
  const auto at = [&](double ms) { return static_cast<size_t>(std::lround(ms * rate / 1000)); };
  const size_t frames = bytes.size() + static_cast<size_t>(std::max(0, s.preamble_frames));
  std::vector<uint8_t> samples(at(s.lead_ms + frames * s.frame_ms + s.tail_ms), 128);
  const size_t beep = std::max<size_t>(1, at(s.beep_ms));
  const auto put_beep = [&](size_t start) {
    for (size_t n = 0; n < beep && start + n < samples.size(); ++n) {
      // A raised-cosine envelope keeps one energy peak per beep.
      const double envelope = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (n + 0.5) / beep);
      const double value =
          s.amplitude * envelope * std::sin(2 * std::numbers::pi * s.tone_hz * n / rate);
      samples[start + n] = static_cast<uint8_t>(std::clamp(std::lround(128 + value), 0L, 255L));
    }
  };
  for (size_t f = 0; f < frames; ++f) {
    const uint8_t byte =
        f < static_cast<size_t>(s.preamble_frames) ? kPreamble : bytes[f - s.preamble_frames];
    const double frame_start = s.lead_ms + f * s.frame_ms;
    put_beep(at(frame_start));
    for (int k = 0; k < 8; ++k)
      if (byte & (1 << k)) put_beep(at(frame_start + 2.0 * (k + 1)));
  }
  return samples;
}

}  // namespace quibra::sim

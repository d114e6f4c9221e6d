#include "tonvox_signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "protocol/checksum.h"
#include "sound/reed_solomon.h"

namespace quibra::sim {
namespace {

using sound::Gf256;
using sound::kRsBlockBytes;
using sound::kRsCheckBytes;
using sound::kRsDataBytes;
using sound::RsBlockPosition;

constexpr uint8_t kPreamble = 0xAA;
constexpr size_t kHeaderBytes = 8;

// g(x) = (x - alpha^1) ... (x - alpha^32), lowest coefficient first.
std::vector<uint8_t> generator() {
  const auto& f = Gf256();
  std::vector<uint8_t> g{1};
  for (int j = 1; j <= kRsCheckBytes; ++j) {
    std::vector<uint8_t> next(g.size() + 1, 0);
    for (size_t i = 0; i < g.size(); ++i) {
      next[i + 1] ^= g[i];
      next[i] ^= f.multiply(g[i], f.power(j));
    }
    g = std::move(next);
  }
  return g;
}

void seal(std::vector<uint8_t>& bytes, size_t from, size_t length) {
  const uint16_t crc = protocol::Crc16Compute(bytes.data() + from, length);
  bytes[from + length - 2] = static_cast<uint8_t>(crc >> 8);
  bytes[from + length - 1] = static_cast<uint8_t>(crc);
}

}  // namespace

void RsEncodeBlock(uint8_t* block) {
  static const std::vector<uint8_t> g = generator();
  const auto& f = Gf256();
  // Remainder of m(x) x^32 by g(x), by long division from the highest coefficient (block 0).
  uint8_t remainder[kRsCheckBytes] = {};
  for (int i = kRsBlockBytes - 1; i >= kRsCheckBytes; --i) {
    const uint8_t feedback = block[RsBlockPosition(i)] ^ remainder[kRsCheckBytes - 1];
    for (int k = kRsCheckBytes - 1; k > 0; --k)
      remainder[k] = remainder[k - 1] ^ f.multiply(feedback, g[k]);
    remainder[0] = f.multiply(feedback, g[0]);
  }
  for (int i = 0; i < kRsCheckBytes; ++i)
    block[RsBlockPosition(i)] = remainder[i];
}

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
      out.resize(start + kRsBlockBytes, 0);
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

#include "irda_frame.h"

namespace quibra::sim {
namespace {

constexpr uint8_t kEscapeXor = 0x20;
constexpr uint16_t kFcsGenerator = 0x8408;  // 0x1021 bit-reversed: bits go in low first
constexpr uint16_t kFcsStart = 0xFFFF;
constexpr size_t kFcsBytes = 2;

bool IsSpecial(uint8_t byte) {
  return byte == kIrdaBeginOfFrame || byte == kIrdaEndOfFrame || byte == kIrdaEscape;
}

void PutEscaped(std::vector<uint8_t>& out, uint8_t byte) {
  if (IsSpecial(byte)) {
    out.push_back(kIrdaEscape);
    out.push_back(static_cast<uint8_t>(byte ^ kEscapeXor));
  } else {
    out.push_back(byte);
  }
}

}  // namespace

uint16_t IrdaFcs(std::span<const uint8_t> bytes) {
  uint16_t reg = kFcsStart;
  for (const uint8_t byte : bytes) {
    reg ^= byte;
    for (int bit = 0; bit < 8; ++bit)
      reg = (reg & 1) != 0 ? static_cast<uint16_t>((reg >> 1) ^ kFcsGenerator) : reg >> 1;
  }
  return static_cast<uint16_t>(~reg);
}

std::vector<uint8_t> EncodeIrdaFrame(std::span<const uint8_t> block) {
  std::vector<uint8_t> out;
  out.reserve(block.size() + 8);
  out.push_back(kIrdaBeginOfFrame);
  for (const uint8_t byte : block)
    PutEscaped(out, byte);
  const uint16_t fcs = IrdaFcs(block);
  PutEscaped(out, static_cast<uint8_t>(fcs & 0xFF));
  PutEscaped(out, static_cast<uint8_t>(fcs >> 8));
  out.push_back(kIrdaEndOfFrame);
  return out;
}

// The first byte of the contents that is neither an escape nor escaped, and stays so with its
// lowest bit flipped. A frame made of escapes alone (its contents all flags) keeps its bits.
void FlipBitInIrdaFrame(std::vector<uint8_t>& frame) {
  for (size_t i = 1; i + 1 < frame.size(); ++i) {
    const uint8_t flipped = frame[i] ^ 0x01;
    if (IsSpecial(frame[i]) || IsSpecial(flipped) || frame[i - 1] == kIrdaEscape) continue;
    frame[i] = flipped;
    return;
  }
}

std::optional<IrdaFrameReader::Frame> IrdaFrameReader::feed(uint8_t byte) {
  if (byte == kIrdaBeginOfFrame) {
    // A frame that opens again before it closed lost its end: what came is thrown away.
    bytes_.clear();
    in_frame_ = true;
    escaped_ = false;
    return std::nullopt;
  }
  if (!in_frame_) return std::nullopt;
  if (byte == kIrdaEndOfFrame) return finish();
  if (byte == kIrdaEscape) {
    escaped_ = true;
    return std::nullopt;
  }
  bytes_.push_back(escaped_ ? static_cast<uint8_t>(byte ^ kEscapeXor) : byte);
  escaped_ = false;
  if (bytes_.size() > kIrdaMaxBlock + kFcsBytes) {
    // Far too long for a frame: not one of this line's; wait for the next opening flag.
    bytes_.clear();
    in_frame_ = false;
  }
  return std::nullopt;
}

std::optional<IrdaFrameReader::Frame> IrdaFrameReader::finish() {
  in_frame_ = false;
  Frame frame;
  if (bytes_.size() >= kFcsBytes && !escaped_) {
    const size_t n = bytes_.size() - kFcsBytes;
    const uint16_t sent = static_cast<uint16_t>(bytes_[n] | bytes_[n + 1] << 8);
    if (IrdaFcs(std::span(bytes_).first(n)) == sent) {
      frame.checks = true;
      frame.block.assign(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(n));
    }
  }
  if (!frame.checks) ++dropped_;
  bytes_.clear();
  escaped_ = false;
  return frame;
}

std::optional<std::vector<uint8_t>> DecodeIrdaFrame(std::span<const uint8_t> frame) {
  IrdaFrameReader reader;
  std::optional<std::vector<uint8_t>> block;
  for (size_t i = 0; i < frame.size(); ++i) {
    auto done = reader.feed(frame[i]);
    if (!done) continue;
    // Exactly one frame, and nothing after it.
    if (!done->checks || i + 1 != frame.size()) return std::nullopt;
    block = std::move(done->block);
  }
  return block;
}

}  // namespace quibra::sim

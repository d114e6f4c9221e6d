#include "protocol/online_frames.h"

#include "protocol/checksum.h"

namespace quibra::protocol {
namespace {

constexpr uint32_t kStampWrap = 65536;
constexpr int kLastSequence = 15;

bool StartsFrame(uint8_t byte) {
  return (byte & 0xF0) == kBeatFrameMark;
}

}  // namespace

int32_t BeatIntervalMs(uint16_t previous, uint16_t current) {
  const uint32_t ticks = (uint32_t{current} + kStampWrap - previous) % kStampWrap;
  // 1024 ticks per second: ticks / 1.024, in integers so that no rounding creeps in.
  return static_cast<int32_t>(ticks * 1000 / 1024);
}

uint8_t BeatFrameCheckByte(uint8_t first, uint8_t low, uint8_t high) {
  // Augmented form: the register after the three bytes and a zero byte is the byte that, put
  // in place of the zero, leaves the register at 0.
  uint8_t reg = 0;
  for (uint8_t b : {first, low, high, uint8_t{0}})
    reg = Crc8Step(reg, b);
  return reg;
}

void BeatFrameParser::reset() {
  open_count_ = 0;
  first_frame_ = true;
  lost_since_previous_ = false;
}

std::optional<BeatFrameParser::Beat> BeatFrameParser::take(uint8_t byte) {
  const size_t position = write_;
  ring_[position] = byte;
  write_ = (write_ + 1) % ring_.size();
  if (open_count_ == 0) {
    // Bytes between frames are line noise: a frame starts only with its mark.
    if (!StartsFrame(byte)) return std::nullopt;
    start_ = position;
  }
  if (++open_count_ < kBeatFrameBytes) return std::nullopt;
  return parse();
}

std::optional<BeatFrameParser::Beat> BeatFrameParser::parse() {
  const uint8_t frame[kBeatFrameBytes] = {at(0), at(1), at(2), at(3)};
  if (OnlineFrameCheck(frame, kBeatFrameBytes) == 0) {
    ++check_failures_;
    lost_since_previous_ = true;
    // The frame may have started at a noise byte that looked like a mark: look for a real
    // start among the three bytes after it, and keep the bytes from there as the open frame.
    open_count_ = 0;
    for (int offset = 1; offset < kBeatFrameBytes; ++offset) {
      if (at(offset) == kBeatFrameMark) {
        start_ = (start_ + offset) % ring_.size();
        open_count_ = kBeatFrameBytes - offset;
        break;
      }
    }
    return std::nullopt;
  }
  open_count_ = 0;
  const uint8_t sequence = frame[0] & 0x0F;
  const auto stamp = static_cast<uint16_t>(frame[1] | (frame[2] << 8));
  if (first_frame_) {
    first_frame_ = false;
    previous_sequence_ = sequence;
    previous_stamp_ = stamp;
    lost_since_previous_ = false;
    return std::nullopt;
  }
  // The unit counts its frames modulo 16; a number further on than the next one means frames
  // went missing on the way.
  if (sequence > previous_sequence_ + 1 ||
      (previous_sequence_ == kLastSequence && sequence >= 2)) {
    ++sequence_gaps_;
  }
  Beat beat;
  beat.interval_ms = BeatIntervalMs(previous_stamp_, stamp);
  beat.after_gap = lost_since_previous_ || sequence != ((previous_sequence_ + 1) & 0x0F);
  previous_sequence_ = sequence;
  previous_stamp_ = stamp;
  lost_since_previous_ = false;
  return beat;
}

}  // namespace quibra::protocol

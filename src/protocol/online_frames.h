// The beat frames a unit streams in online mode. Every detected heartbeat goes out as four
// bytes: 0x5s (s = a sequence number 0..15), the beat's time stamp in 1/1024 s, low byte first,
// and a CRC-8 check byte that makes the check over the four bytes come out 0. The parser takes
// the bytes as they arrive, finds the frames in them, checks them and turns consecutive time
// stamps into beat-to-beat intervals.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quibra::protocol {

inline constexpr int kBeatFrameBytes = 4;
inline constexpr uint8_t kBeatFrameMark = 0x50;  // high nibble of a frame's first byte

// Milliseconds between two 16-bit time stamps in 1/1024 s, across the wrap of the counter,
// truncated.
int32_t BeatIntervalMs(uint16_t previous, uint16_t current);

// The check byte that closes a frame whose first three bytes are given.
uint8_t BeatFrameCheckByte(uint8_t first, uint8_t low, uint8_t high);

class BeatFrameParser {
 public:
  // What one byte completed.
  struct Beat {
    int32_t interval_ms = 0;
    // The frames between this one and the one before were lost (dropped on the line or failed
    // their check): the interval spans more than one beat and is not a beat-to-beat interval.
    bool after_gap = false;
  };

  // Takes one byte; a beat when it completed a checked frame that follows an earlier one.
  std::optional<Beat> take(uint8_t byte);
  // Forgets the frames seen so far: the next checked frame is a first frame again.
  void reset();

  // The online error pair: frames that failed their check, and sequence gaps.
  int32_t check_failures() const { return check_failures_; }
  int32_t sequence_gaps() const { return sequence_gaps_; }

 private:
  // The frame that starts at ring position `start` is complete: check and use it.
  std::optional<Beat> parse();
  uint8_t at(int offset) const { return ring_[(start_ + offset) % ring_.size()]; }

  // The last bytes received; a frame is read out of it from its start position.
  std::array<uint8_t, 7> ring_{};
  size_t write_ = 0;       // where the next byte goes
  size_t start_ = 0;       // ring position of the open frame's first byte
  int open_count_ = 0;     // bytes of the open frame received; 0 = no frame open
  bool first_frame_ = true;
  uint8_t previous_sequence_ = 0;
  uint16_t previous_stamp_ = 0;
  bool lost_since_previous_ = false;
  int32_t check_failures_ = 0;
  int32_t sequence_gaps_ = 0;
};

}  // namespace quibra::protocol

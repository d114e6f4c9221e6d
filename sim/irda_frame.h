// The link layer of the simulated IrDA line: every block of the short form travels in a frame
// as an IrDA link sends it over its asynchronous line. A frame opens with 0xC0 and closes with
// 0xC1; in between come the block and a 16-bit frame check sequence (CRC-16/X.25: generator
// 0x1021 taken bit-reversed, register 0xFFFF at the start, the register inverted at the end,
// sent low byte first). A byte that equals one of the two flags or the escape byte 0x7D goes as
// 0x7D and the byte XOR 0x20, so that a flag on the line always means a frame edge.
//
// A receiver drops every frame whose check fails, as a real link drops it: a bit flipped on the
// way becomes a lost frame, never bytes taken as sent. Bytes outside a frame (another
// conversation on the same line, noise) are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quibra::sim {

inline constexpr uint8_t kIrdaBeginOfFrame = 0xC0;
inline constexpr uint8_t kIrdaEndOfFrame = 0xC1;
inline constexpr uint8_t kIrdaEscape = 0x7D;
// The longest block a frame carries; a longer run between flags is not a frame of this line.
inline constexpr size_t kIrdaMaxBlock = 0xFFFF;

// The frame check sequence over the bytes, as sent (the register already inverted).
uint16_t IrdaFcs(std::span<const uint8_t> bytes);

// The block in a frame, as it goes on the line.
std::vector<uint8_t> EncodeIrdaFrame(std::span<const uint8_t> block);

// Flips one bit of a frame's contents where the frame stays a frame (the flags and escapes keep
// their places), so that only its check can tell: the fault a bit error on the air makes.
void FlipBitInIrdaFrame(std::vector<uint8_t>& frame);

// Takes the line byte by byte and yields each frame that ends.
class IrdaFrameReader {
 public:
  struct Frame {
    bool checks = false;         // false: the frame is to be dropped
    std::vector<uint8_t> block;  // its contents without the check sequence, when it checks
  };

  // A frame ends with this byte: its block when the check holds, else a frame that does not.
  std::optional<Frame> feed(uint8_t byte);
  // Frames that ended and failed their check so far.
  int dropped() const { return dropped_; }

 private:
  std::optional<Frame> finish();

  std::vector<uint8_t> bytes_;
  bool in_frame_ = false;
  bool escaped_ = false;
  int dropped_ = 0;
};

// The block of one whole frame as it came off the line; nothing when it does not check (or is
// not one frame).
std::optional<std::vector<uint8_t>> DecodeIrdaFrame(std::span<const uint8_t> frame);

}  // namespace quibra::sim

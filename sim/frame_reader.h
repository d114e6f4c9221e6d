// Assembles request frames from the bytes a simulated unit receives.
//
// A request is 0xA3, code, 0, length high, length low, payload, checksum (high byte first), the
// length being the index of the first checksum byte. Through a serial adapter with recoding on
// every byte arrives recoded; the first byte tells which: 0xA3 plain, R(0xA3) = 0x34 recoded.
// Bytes outside a frame that are neither are line noise and are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quibra::sim {

struct RawRequest {
  std::vector<uint8_t> bytes;  // the whole frame, decoded (0xA3 first)
  bool recoded = false;        // it arrived recoded
  bool checksum_ok = false;    // the CRC over the whole frame came out 0
};

class FrameReader {
 public:
  // The longest request we take: the longest image the library sends is 188 bytes; anything
  // claiming more than this is a corrupt header and drops synchronisation.
  static constexpr size_t kMaxFrame = 1040;

  // Feeds one received byte; returns a request when this byte completed one.
  std::optional<RawRequest> feed(uint8_t wire_byte);

  // Forgets a partly received frame (the line went quiet in the middle of it).
  void reset();
  bool in_frame() const { return !frame_.empty(); }
  // Bytes skipped outside frames since construction.
  size_t skipped() const { return skipped_; }

 private:
  std::vector<uint8_t> frame_;
  size_t expected_ = 0;
  bool recoded_ = false;
  size_t skipped_ = 0;
};

}  // namespace quibra::sim

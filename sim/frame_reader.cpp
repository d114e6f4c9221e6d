#include "frame_reader.h"

#include "crc16.h"
#include "recoding.h"
#include "wire_table.h"

namespace quibra::sim {

std::optional<RawRequest> FrameReader::feed(uint8_t wire_byte) {
  if (frame_.empty()) {
    if (wire_byte == kRequestStart) {
      recoded_ = false;
    } else if (wire_byte == Recode(kRequestStart)) {
      recoded_ = true;
    } else {
      ++skipped_;
      return std::nullopt;
    }
    frame_.reserve(64);
    frame_.push_back(kRequestStart);
    expected_ = 0;
    return std::nullopt;
  }
  frame_.push_back(recoded_ ? Unrecode(wire_byte) : wire_byte);
  if (frame_.size() == kFrameHeader) {
    expected_ = (static_cast<size_t>(frame_[3]) << 8 | frame_[4]) + 2;
    if (frame_[2] != 0 || expected_ < kFrameOverhead || expected_ > kMaxFrame) {
      // Not a header after all: drop it and look for the next start byte.
      skipped_ += frame_.size();
      reset();
      return std::nullopt;
    }
  }
  if (expected_ == 0 || frame_.size() < expected_) return std::nullopt;

  RawRequest request;
  request.bytes = std::move(frame_);
  request.recoded = recoded_;
  request.checksum_ok = Crc16Checks(request.bytes);
  reset();
  return request;
}

void FrameReader::reset() {
  frame_.clear();
  expected_ = 0;
}

}  // namespace quibra::sim

// Reads the rest of an input as length-prefixed pieces (two bytes, low first, then the bytes;
// seed_writer.h writes them): the answers of a unit, the packets of a train. A length that runs
// past the input's end takes what is left.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace quibra::fuzz {

class Pieces {
 public:
  Pieces() = default;
  Pieces(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // The next piece; false when fewer than two bytes are left.
  bool next(const uint8_t*& piece, size_t& length) {
    if (size_ - at_ < 2) return false;
    const size_t wanted = data_[at_] | size_t{data_[at_ + 1]} << 8;
    at_ += 2;
    length = std::min(wanted, size_ - at_);
    piece = data_ + at_;
    at_ += length;
    return true;
  }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t at_ = 0;
};

}  // namespace quibra::fuzz

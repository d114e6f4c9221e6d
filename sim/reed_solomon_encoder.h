// The Reed-Solomon encoder a unit uses for the blocks of its sound download: RS(255, 223) over
// GF(2^8) with the field polynomial x^8 + x^4 + x^3 + x^2 + 1, generator roots alpha^1 ..
// alpha^32. It is the simulator's own, so the library's decoder is tested against an encoder
// that shares nothing with it.
//
// A block is not in polynomial order: data bytes 0..222 are the coefficients of x^254 down to
// x^32, check bytes 223..254 those of x^0 up to x^31.
#pragma once

#include <cstdint>

namespace quibra::sim {

inline constexpr int kRsBlock = 255;
inline constexpr int kRsData = 223;
inline constexpr int kRsCheck = 32;

// Fills the check bytes 223..254 of a 255-byte block from its data bytes 0..222.
void RsEncodeBlock(uint8_t* block);

}  // namespace quibra::sim

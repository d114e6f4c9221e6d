// The Reed-Solomon code that protects the blocks of a sound download: RS(255, 223) over GF(2^8)
// with the primitive polynomial x^8 + x^4 + x^3 + x^2 + 1 and alpha = x, 32 check symbols and
// generator roots alpha^1 .. alpha^32, so up to 16 wrong bytes per block are corrected.
//
// A 255-byte block is not laid out in polynomial order. Its check bytes 223..254 are the
// coefficients of x^0 .. x^31, in that order, and its data bytes 222 down to 0 are the
// coefficients of x^32 .. x^254 (block byte 0 is the highest coefficient).
#pragma once

#include <array>
#include <cstdint>

namespace quibra::sound {

inline constexpr int kRsBlockBytes = 255;
inline constexpr int kRsDataBytes = 223;
inline constexpr int kRsCheckBytes = 32;
inline constexpr int kRsCorrectable = kRsCheckBytes / 2;

// Arithmetic in GF(2^8): antilog[i] = alpha^i (antilog[255] = 0) and log[alpha^i] = i
// (log[0] = -1 marks the zero element).
struct GaloisField {
  std::array<uint8_t, 256> antilog;
  std::array<int16_t, 256> log;
  uint8_t multiply(uint8_t a, uint8_t b) const;
  uint8_t divide(uint8_t a, uint8_t b) const;  // b must not be 0
  uint8_t power(int exponent) const;           // alpha^exponent, any sign
};
const GaloisField& Gf256();

// The block position of the coefficient of x^i.
constexpr int RsBlockPosition(int i) {
  return i < kRsCheckBytes ? kRsDataBytes + i : kRsBlockBytes - 1 - i;
}

// Corrects the block in place. 0 when it was a codeword, the number of corrected bytes when
// errors were found and mended, -1 when it cannot be corrected (the block is then unchanged).
int RsDecode(uint8_t* block);

}  // namespace quibra::sound

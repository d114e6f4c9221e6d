// What every exercise encoder shares: the packed field writers (BCD, little-endian words, time
// triples) and the two kinds of exercise memory image, a single-exercise image (as the unit sends
// its exercises: product code at position 3, version at 4, the exercise chain from position 4)
// and a whole-memory image (product code at 2, version at 3, the 50-byte note at 4..53, the chain
// from a family's own start). Positions are 1-based, as the library reads the image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quibra::sim {

using Bytes = std::vector<uint8_t>;
using Note = std::array<uint8_t, 50>;

inline constexpr int32_t kSingleChainStart = 4;

enum class ImageKind {
  kSingleExercise,  // what the unit sends: product code at position 3, version at 4
  kWholeMemory,     // a memory dump: product code at 2, version at 3
};

// Two decimal digits in one byte; v is 0..99.
uint8_t Bcd(int32_t v);
// Writers by index into a byte vector (index 0 is the first byte).
void Put8(Bytes& out, size_t at, int32_t v);
void Put16(Bytes& out, size_t at, int32_t v);  // low byte first
// Three BCD bytes: seconds, minutes, hours of a count of seconds (hours 0..99).
void PutTriple(Bytes& out, size_t at, int32_t seconds);
// A time in 1/10 s as three bytes: seconds and minutes in bits 0..5 with the tenths split over
// their bits 6..7 (low, high), then the hours, as BCD or binary.
enum class Hours { kBcd, kBinary };
void PutPackedTime(Bytes& out, size_t at, int32_t tenths, Hours hours);
// A byte at a 1-based image position; the image grows to hold it.
void PutAt(Bytes& image, int32_t position, int32_t v);

// Closes an exercise of the chain: its length in head bytes 1 and 2 (15 bits), and the marker in
// bit 7 of byte 2.
void PutExerciseLength(Bytes& exercise, bool marker);

// A single-exercise image holding the exercises of the chain in order. The version byte is also
// byte 0 of the first exercise head, which the chain does not use.
Bytes SingleChainImage(const std::vector<Bytes>& exercises, uint8_t product_code, uint8_t version);
// A whole-memory image whose chain starts at chain_start.
Bytes WholeChainImage(const std::vector<Bytes>& exercises, int32_t chain_start,
                      uint8_t product_code, uint8_t version, const Note& note);

// Where the unit names itself in an image whose exercise fields lie at fixed positions.
void PutIdentity(Bytes& image, ImageKind kind, uint8_t product_code, uint8_t version);

}  // namespace quibra::sim

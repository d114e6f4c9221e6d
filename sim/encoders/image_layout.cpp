#include "sim/encoders/image_layout.h"

namespace quibra::sim {
namespace {

constexpr int32_t kSingleProductCode = 3;
constexpr int32_t kSingleVersion = 4;
constexpr int32_t kWholeProductCode = 2;
constexpr int32_t kWholeVersion = 3;
constexpr int32_t kNote = 4;

}  // namespace

uint8_t Bcd(int32_t v) {
  return static_cast<uint8_t>(((v / 10 % 10) << 4) | (v % 10));
}

void Put8(Bytes& out, size_t at, int32_t v) {
  out.at(at) = static_cast<uint8_t>(v & 0xFF);
}

void Put16(Bytes& out, size_t at, int32_t v) {
  Put8(out, at, v);
  Put8(out, at + 1, v >> 8);
}

void PutTriple(Bytes& out, size_t at, int32_t seconds) {
  out.at(at) = Bcd(seconds % 60);
  out.at(at + 1) = Bcd(seconds / 60 % 60);
  out.at(at + 2) = Bcd(seconds / 3600);
}

void PutPackedTime(Bytes& out, size_t at, int32_t tenths, Hours hours) {
  const int32_t seconds = tenths / 10;
  const int32_t rest = tenths % 10;
  Put8(out, at, (seconds % 60) | ((rest & 3) << 6));
  Put8(out, at + 1, (seconds / 60 % 60) | ((rest >> 2) << 6));
  Put8(out, at + 2, hours == Hours::kBcd ? Bcd(seconds / 3600) : seconds / 3600);
}

void PutAt(Bytes& image, int32_t position, int32_t v) {
  if (image.size() < static_cast<size_t>(position)) image.resize(static_cast<size_t>(position), 0);
  Put8(image, static_cast<size_t>(position - 1), v);
}

void PutExerciseLength(Bytes& exercise, bool marker) {
  const int32_t length = static_cast<int32_t>(exercise.size());
  Put8(exercise, 1, length);
  Put8(exercise, 2, ((length >> 8) & 0x7F) | (marker ? 0x80 : 0));
}

Bytes SingleChainImage(const std::vector<Bytes>& exercises, uint8_t product_code, uint8_t version) {
  Bytes image(kSingleChainStart - 1, 0);
  for (const Bytes& x : exercises)
    image.insert(image.end(), x.begin(), x.end());
  PutIdentity(image, ImageKind::kSingleExercise, product_code, version);
  return image;
}

Bytes WholeChainImage(const std::vector<Bytes>& exercises, int32_t chain_start,
                      uint8_t product_code, uint8_t version, const Note& note) {
  Bytes image(static_cast<size_t>(chain_start - 1), 0);
  PutIdentity(image, ImageKind::kWholeMemory, product_code, version);
  for (size_t i = 0; i < note.size(); ++i)
    PutAt(image, kNote + static_cast<int32_t>(i), note[i]);
  for (const Bytes& x : exercises)
    image.insert(image.end(), x.begin(), x.end());
  return image;
}

void PutIdentity(Bytes& image, ImageKind kind, uint8_t product_code, uint8_t version) {
  const bool whole = kind == ImageKind::kWholeMemory;
  PutAt(image, whole ? kWholeProductCode : kSingleProductCode, product_code);
  PutAt(image, whole ? kWholeVersion : kSingleVersion, version);
}

}  // namespace quibra::sim

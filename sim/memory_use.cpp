#include "memory_use.h"

#include <algorithm>

namespace quibra::sim {
namespace {

// The chain of a single-exercise image starts at position 4; each exercise gives its length
// (15 bits, low byte first) in head bytes 1 and 2.
constexpr size_t kChainStart = 3;
constexpr uint8_t kLengthHighMask = 0x7F;
constexpr int32_t kChainTypes[] = {11, 12, 13, 15, 20, 21, 22, 23};
// The bytes in front of the exercises: train header, product code and version.
constexpr size_t kFrontBytes = 4;
constexpr size_t kType31Count = 7;  // position 8
constexpr size_t kType32First = 358;
constexpr size_t kType32Record = 37;

MemoryUse Chain(std::span<const uint8_t> image) {
  MemoryUse use;
  size_t at = kChainStart;
  while (at + 2 < image.size()) {
    const size_t length = image[at + 1] | static_cast<size_t>(image[at + 2] & kLengthHighMask) << 8;
    if (length == 0 || at + length > image.size()) break;
    ++use.files;
    use.used += static_cast<uint32_t>(length);
    at += length;
  }
  return use;
}

}  // namespace

MemoryUse MemoryUseOfImage(int32_t type, std::span<const uint8_t> image) {
  if (std::find(std::begin(kChainTypes), std::end(kChainTypes), type) != std::end(kChainTypes)) {
    return Chain(image);
  }
  if (image.size() <= kFrontBytes) return {};
  const auto used = static_cast<uint32_t>(image.size() - kFrontBytes);
  switch (type) {
    case 31:
      return {image.size() > kType31Count ? image[kType31Count] >> 4 : 0, used};
    case 32:
      return {image.size() > kType32First
                  ? static_cast<int32_t>((image.size() - kType32First) / kType32Record)
                  : 0,
              used};
    default:
      return {1, used};
  }
}

MemoryUse MemoryUseOfFiles(const std::vector<std::vector<uint8_t>>& files) {
  MemoryUse use;
  for (const auto& file : files) {
    ++use.files;
    use.used += static_cast<uint32_t>(file.size());
  }
  return use;
}

}  // namespace quibra::sim

#include "exercise/prvc_paged_data.h"

#include <algorithm>

namespace quibra::exercise {
namespace {

// A page count the unit never wrote reads as 65535.
constexpr int32_t kUnwrittenCount = 0xFFFF;

}  // namespace

std::optional<PagedData> ReadPagedData(const MemoryReader& m, int32_t directory, int32_t limit) {
  std::array<int32_t, kPageKinds> pages{};
  std::array<int32_t, kPageKinds> length{};
  int64_t total = 0;
  for (int32_t k = 0; k < kPageKinds; ++k) {
    const int32_t n = m.u16(directory + 2 * k);
    pages[k] = n == kUnwrittenCount ? 0 : n;
    const int32_t last = m.byte(directory + 6 + k);
    length[k] = pages[k] == 0 ? 0 : (pages[k] - 1) * kPagePayload + last;
    total += pages[k];
  }
  const int64_t first = directory + kPageDirectoryBytes;
  const int64_t end = first + total * kPageBytes;
  if (directory < 1 || end > limit) return std::nullopt;

  PagedData out;
  out.end = static_cast<int32_t>(end);
  std::array<int32_t, kPageKinds> taken{};
  for (int32_t k = 0; k < kPageKinds; ++k)
    out.data[k].reserve(static_cast<size_t>(pages[k]) * kPagePayload);
  for (int64_t p = 0; p < total; ++p) {
    const auto at = static_cast<int32_t>(first + p * kPageBytes);
    const int32_t kind = m.byte(at);
    // A page of a kind the directory does not count, or one beyond its count, is not data.
    if (kind >= kPageKinds || taken[kind] >= pages[kind]) continue;
    ++taken[kind];
    auto& buffer = out.data[kind];
    for (int32_t i = 1; i <= kPagePayload; ++i)
      buffer.push_back(static_cast<uint8_t>(m.byte(at + i)));
  }
  for (int32_t k = 0; k < kPageKinds; ++k) {
    auto& buffer = out.data[k];
    buffer.resize(std::min(buffer.size(), static_cast<size_t>(length[k])));
  }
  return out;
}

}  // namespace quibra::exercise

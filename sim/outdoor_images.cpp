#include "outdoor_images.h"

#include <algorithm>

namespace quibra::sim {
namespace {

struct ClearingWrite {
  Msg write;
  Msg cleared;
};
constexpr ClearingWrite kClearingWrites[] = {
    {Msg::kWrite47, Msg::kRead46},  // the season totals
    {Msg::kWrite49, Msg::kRead48},  // the fitness test results
};

}  // namespace

std::vector<uint8_t> ReadAnswerData(Msg area, std::span<const uint8_t> stored, size_t length) {
  // A reminder's area keeps the number it was written with first; the read answers from the
  // text on, the number being the one the request named.
  const size_t skip = area == Msg::kOutdoorReminderRead && !stored.empty() ? 1 : 0;
  std::vector<uint8_t> data(length, 0);
  const auto from = stored.subspan(skip);
  std::copy_n(from.begin(), std::min(from.size(), data.size()), data.begin());
  return data;
}

std::optional<Msg> AreaClearedBy(Msg write) {
  for (const ClearingWrite& c : kClearingWrites) {
    if (c.write == write) return c.cleared;
  }
  return std::nullopt;
}

}  // namespace quibra::sim

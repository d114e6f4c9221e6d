#include "settings/file_date.h"

#include "codec/dates.h"

namespace quibra::settings {
namespace {

constexpr int32_t kFirstYear = 1980;
constexpr int32_t kLastYear = kFirstYear + 127;

}  // namespace

std::array<uint8_t, 2> PackFileDate(int32_t date) {
  const auto d = codec::SplitDate(date);
  if (d.year < kFirstYear || d.year > kLastYear || !codec::IsCalendarDay(d.day, d.month, d.year))
    return {0, 0};
  const uint32_t packed = (static_cast<uint32_t>(d.year - kFirstYear) << 9) |
                          (static_cast<uint32_t>(d.month) << 5) | static_cast<uint32_t>(d.day);
  return {static_cast<uint8_t>(packed & 0xFF), static_cast<uint8_t>(packed >> 8)};
}

int32_t UnpackFileDate(uint8_t low, uint8_t high) {
  const uint32_t packed = low | (static_cast<uint32_t>(high) << 8);
  const int32_t year = static_cast<int32_t>(packed >> 9) + kFirstYear;
  const int32_t month = static_cast<int32_t>((packed >> 5) & 0x0F);
  const int32_t day = static_cast<int32_t>(packed & 0x1F);
  if (!codec::IsCalendarDay(day, month, year)) return 0;
  return codec::MakeDate(day, month, year);
}

}  // namespace quibra::settings

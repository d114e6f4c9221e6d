#include "prvc/unit_date.h"

#include "codec/dates.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kCentury = 2000;
constexpr int32_t kFirstResetDate = 20030101;
constexpr int32_t kLastResetDate = 20991231;

}  // namespace

int32_t DecodeUnitDate(uint8_t first, uint8_t second) {
  const int32_t day = first & 0x1F;
  const int32_t month = (first >> 5) | (second & 0x01) << 3;
  const int32_t year = kCentury + (second >> 1);
  return codec::MakeDate(day, month, year);
}

UnitDateBytes EncodeUnitDate(int32_t date) {
  const codec::DateParts parts = codec::SplitDate(date);
  const auto year = static_cast<uint32_t>(parts.year - kCentury);
  const auto month = static_cast<uint32_t>(parts.month);
  return {static_cast<uint8_t>((static_cast<uint32_t>(parts.day) & 0x1F) | (month & 0x07) << 5),
          static_cast<uint8_t>((month >> 3 & 0x01) | (year & 0x7F) << 1)};
}

bool IsUnitResetDate(int32_t date) {
  if (date < kFirstResetDate || date > kLastResetDate) return false;
  const codec::DateParts parts = codec::SplitDate(date);
  return codec::IsCalendarDay(parts.day, parts.month, parts.year);
}

}  // namespace quibra::prvc

// What a newer running or cycling unit does with its watch settings beyond storing the message:
// the alarm and the event go into the watch area of its memory, which starts 5 bytes before the
// address its identification announces and is what the library reads back.
#include <algorithm>

#include "unit.h"

namespace quibra::sim {
namespace {

constexpr int32_t kWatchAreaLead = 5;

// Short-form byte k of 9091 and 9092 carries image index k + 4. From 9091 (the clock message)
// the unit keeps the flag byte, the offset, the alarm and its mode: bytes 7..11 go to area bytes
// 0..4. From 9092 it keeps the event: bit 5 of byte 1 goes to bit 5 of area byte 5 (whose other
// bits are the unit's own), bytes 2..13 (days and name) to area bytes 6..17.
constexpr size_t kClockFrom = 7;
constexpr size_t kClockBytes = 5;
constexpr size_t kEventFlagArea = 5;
constexpr uint8_t kEventBit = 0x20;
constexpr size_t kEventFrom = 2;
constexpr size_t kEventArea = 6;
constexpr size_t kEventBytes = 12;

}  // namespace

void Unit::keep_watch_settings(const WireRow& row, std::span<const uint8_t> request) {
  if (row.msg != Msg::kNewerWatchWrite && row.msg != Msg::kNewerWatchMoreWrite) return;
  const int64_t area = int64_t{identity_.area(Area::Watch)} - kWatchAreaLead;
  if (!memory_range(0, area, kEventArea + kEventBytes)) return;
  const auto at = memory_[0].begin() + area;
  if (row.msg == Msg::kNewerWatchWrite) {
    if (request.size() < kClockFrom + kClockBytes) return;
    std::copy_n(request.begin() + kClockFrom, kClockBytes, at);
    return;
  }
  if (request.size() < kEventFrom + kEventBytes) return;
  at[kEventFlagArea] =
      static_cast<uint8_t>((at[kEventFlagArea] & ~kEventBit) | (request[1] & kEventBit));
  std::copy_n(request.begin() + kEventFrom, kEventBytes, at + kEventArea);
}

}  // namespace quibra::sim

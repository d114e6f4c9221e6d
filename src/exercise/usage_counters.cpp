#include "exercise/usage_counters.h"

#include <array>
#include <optional>

#include "codec/bcd.h"
#include "exercise/exercise_locator.h"
#include "frame/module.h"

namespace quibra::exercise {
namespace {

// How a value is stored at its position.
enum class Kind : uint8_t {
  kNone,       // the type has no such value
  kByte,       // one byte
  kWord,       // 16 bits, low byte first
  kWordTenth,  // 16 bits in tenths: the value is the whole part
  kDate,       // day, month, year - 1900
  kBit0,       // bit 0 of one byte
};

struct Slot {
  Kind kind = Kind::kNone;
  int32_t position = 0;
};

constexpr Slot W(int32_t p) {
  return {Kind::kWord, p};
}
constexpr Slot B(int32_t p) {
  return {Kind::kByte, p};
}
constexpr Slot kNone{};

// Counters 5000..5011 by type: column 0 is type 30, column 1 type 31.
constexpr int32_t kFirstCounter = 5000;
constexpr std::array<std::array<Slot, 2>, 12> kCounters = {{
    {W(82), W(84)},
    {W(84), W(92)},
    {W(86), kNone},
    {W(88), kNone},
    {W(90), kNone},
    {W(92), kNone},
    {W(94), kNone},
    {W(96), kNone},
    {W(98), kNone},
    {kNone, W(86)},
    {kNone, W(88)},
    {kNone, W(90)},
}};

constexpr int32_t kWeekCountPosition = 100;
constexpr int32_t kWeekBase = 101;
constexpr int32_t kWeekSize = 23;
constexpr int32_t kFirstWeekValue = 6001;
constexpr int32_t kWeekTimes = 6;  // 6001..6006: time triples three bytes apart

// Personal values 7001..7008: columns type 30, 31, 32, 26.
constexpr int32_t kFirstUserValue = 7001;
constexpr std::array<std::array<Slot, 4>, 8> kUserValues = {{
    {Slot{Kind::kWordTenth, 12}, W(94), W(159), Slot{Kind::kWordTenth, 170}},
    {B(14), B(96), B(161), B(172)},
    {Slot{Kind::kDate, 15}, Slot{Kind::kDate, 97}, Slot{Kind::kDate, 162}, Slot{Kind::kDate, 173}},
    {B(18), B(101), B(166), B(178)},
    {B(19), B(102), B(167), B(180)},
    {B(20), B(103), B(168), B(179)},
    {B(22), kNone, kNone, B(177)},
    {Slot{Kind::kBit0, 21}, B(100), Slot{Kind::kBit0, 165}, Slot{Kind::kBit0, 176}},
}};

// Type 26 keeps its personal values only in the memory layout whose data-type byte has a
// non-zero high nibble and the low nibble 2.
constexpr int32_t kDataTypePosition = 7;

MemoryReader Memory() {
  return MemoryReader(module().exercise_memory);
}

int32_t Read(const MemoryReader& m, const Slot& slot) {
  const int32_t p = slot.position;
  switch (slot.kind) {
    case Kind::kNone:
      return kNoValue;
    case Kind::kByte:
      return m.byte(p);
    case Kind::kWord:
      return m.u16(p);
    case Kind::kWordTenth:
      return m.u16(p) / 10;
    case Kind::kDate: {
      int32_t year = m.byte(p + 2) + 1900;
      if (year > 2089) year -= 100;
      return year * 10000 + m.byte(p + 1) * 100 + m.byte(p);
    }
    case Kind::kBit0:
      return m.byte(p) & 1;
  }
  return kNoValue;
}

// Seconds from a BCD time triple (seconds, minutes, hours).
int32_t TripleSeconds(const MemoryReader& m, int32_t at) {
  return codec::BcdToBin(m.byte(at + 2)) * 3600 + codec::BcdToBin(m.byte(at + 1)) * 60 +
         codec::BcdToBin(m.byte(at));
}

std::optional<size_t> UserColumn(const MemoryReader& m, int32_t monitor_type) {
  switch (monitor_type) {
    case 30:
      return 0;
    case 31:
      return 1;
    case 32:
      return 2;
    case 26: {
      const int32_t data_type = m.byte(kDataTypePosition);
      if ((data_type >> 4) != 0 && (data_type & 0x0F) == 2) return 3;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

int32_t GetUsageCounter(int32_t monitor_type, int32_t id) {
  // In 64 bits: any id may come from the caller.
  const int64_t row = int64_t{id} - kFirstCounter;
  if (row < 0 || row >= static_cast<int64_t>(kCounters.size())) return kNoValue;
  if (monitor_type != 30 && monitor_type != 31) return kNoValue;
  return Read(Memory(), kCounters[static_cast<size_t>(row)][monitor_type == 30 ? 0 : 1]);
}

int32_t GetWeekSummaryCount(int32_t /*monitor_type*/) {
  return Memory().byte(kWeekCountPosition);
}

int32_t GetWeekSummaryValue(int32_t monitor_type, int32_t week, int32_t id) {
  const int64_t item = int64_t{id} - kFirstWeekValue;
  if (monitor_type != 30 || item < 0 || item > 8) return kNoValue;
  // The week number comes from the caller unchecked against the count; positions beyond the
  // memory read 0, and a week far out of range must not overflow the position.
  if (week < -1 || week > 0x40000 / kWeekSize) return kNoValue;
  const MemoryReader m = Memory();
  const int32_t at = kWeekBase + kWeekSize * (week + 1);
  if (item < kWeekTimes) return TripleSeconds(m, at + 3 * item);
  switch (item) {
    case 6:
      return m.u16(at + 18);
    case 7:
      return m.byte(at + 20);
    default:
      return m.u16(at + 21);
  }
}

int32_t GetUserSetting(int32_t monitor_type, int32_t id) {
  const int64_t row = int64_t{id} - kFirstUserValue;
  if (row < 0 || row >= static_cast<int64_t>(kUserValues.size())) return kNoValue;
  const MemoryReader m = Memory();
  const std::optional<size_t> column = UserColumn(m, monitor_type);
  if (!column) return kNoValue;
  return Read(m, kUserValues[static_cast<size_t>(row)][*column]);
}

}  // namespace quibra::exercise

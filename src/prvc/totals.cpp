#include "prvc/totals.h"

#include <array>
#include <cstring>

#include "codec/bcd.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "platform/today.h"
#include "prvc/unit_date.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// How a total is kept: BCD pairs, least significant pair first. A time is seconds, minutes,
// hours mod 100 and hours / 100.
enum class Form : uint8_t { Time, Digits8, Digits6, Digits4 };

struct FormInfo {
  int32_t bytes;
  int32_t max;
};
constexpr FormInfo Info(Form form) {
  switch (form) {
    case Form::Time:
      return {4, 9999 * 3600 + 59 * 60 + 59};
    case Form::Digits8:
      return {4, 99999999};
    case Form::Digits6:
      return {3, 999999};
    case Form::Digits4:
      return {2, 9999};
  }
  return {0, 0};
}
constexpr int32_t kDateBytes = 2;

// One entry of the area: the record fields (by 32-bit word) of its value and its reset date.
struct Entry {
  int8_t value;
  int8_t date;
  Form form;
};
constexpr Entry kTime = {4, 5, Form::Time};
constexpr Entry k6 = {6, 7, Form::Digits8};
constexpr Entry k8 = {8, 9, Form::Digits4};
constexpr Entry k10 = {10, 11, Form::Digits8};
constexpr Entry k12 = {12, 15, Form::Digits8};
constexpr Entry k13 = {13, 16, Form::Digits8};
constexpr Entry k14 = {14, 17, Form::Digits8};
constexpr Entry k18 = {18, 21, Form::Digits8};
constexpr Entry k19 = {19, 22, Form::Digits8};
constexpr Entry k20 = {20, 23, Form::Digits8};
constexpr Entry k24 = {24, 25, Form::Digits8};
constexpr Entry k26 = {26, 27, Form::Digits8};
constexpr Entry k28 = {28, 29, Form::Digits8};
constexpr Entry k30 = {30, 31, Form::Digits6};
constexpr Entry k32 = {32, 33, Form::Digits8};
constexpr Entry kBike1 = {34, 37, Form::Digits8};
constexpr Entry kBike2 = {35, 38, Form::Digits8};
constexpr Entry kBike3 = {36, 39, Form::Digits8};

// The entries each type keeps, in the order they follow one another in its totals area.
// Type 33 keeps bike 2's reset date at bytes 55 and 56 like the types that keep more bikes, so
// its area is written with all 57 bytes of its entries: a shorter write would leave that date as
// it was and a read after the write would not give back what was written.
constexpr Entry k36[] = {kTime, k6, k8, k10, k12, k13};
constexpr Entry k37[] = {kTime, k6, k8, k10, k12, k13, k30};
constexpr Entry k38[] = {kTime, k6, k8, k10, k12, k13, k14, k18, k19, k20, k24, k26, k28, k30, k32};
constexpr Entry k33[] = {kTime, k6, k8, k10, k18, k19, k30, k32, kBike1, kBike2};
constexpr Entry k35[] = {kTime, k6, k8, k10, k18, k19, k30, k32, kBike1, kBike2, k20, kBike3};
constexpr Entry k34[] = {kTime, k6, k8, k10, k18, k19, k30, k32, kBike1, kBike2, k20, kBike3, k28};

struct TypeLayout {
  int32_t type;
  std::span<const Entry> entries;
};
constexpr std::array<TypeLayout, 6> kLayouts = {{
    {33, k33},
    {34, k34},
    {35, k35},
    {36, k36},
    {37, k37},
    {38, k38},
}};

constexpr int32_t AreaBytes(std::span<const Entry> entries) {
  int32_t bytes = 0;
  for (const Entry& e : entries)
    bytes += Info(e.form).bytes + kDateBytes;
  return bytes;
}
static_assert(AreaBytes(k36) == 34 && AreaBytes(k37) == 39 && AreaBytes(k38) == 87);
static_assert(AreaBytes(k33) == 57 && AreaBytes(k35) == 69 && AreaBytes(k34) == 75);

// The read always asks for the longest area.
constexpr int32_t kReadBytes = 87;
constexpr uint32_t kReadPauseMs = 500;
constexpr int32_t kRecordWords = sizeof(TotalsPRVC) / sizeof(int32_t);
using Words = std::array<int32_t, kRecordWords>;

const TypeLayout* LayoutOf(int32_t type) {
  for (const TypeLayout& layout : kLayouts) {
    if (layout.type == type) return &layout;
  }
  return nullptr;
}

Words WordsOf(const TotalsPRVC& totals) {
  Words words{};
  std::memcpy(words.data(), &totals, sizeof totals);
  return words;
}

void EncodeValue(Form form, int32_t value, uint8_t* out) {
  if (form == Form::Time) {
    const int32_t hours = value / 3600;
    const int32_t parts[] = {value % 60, value / 60 % 60, hours % 100, hours / 100};
    for (int32_t i = 0; i < 4; ++i)
      out[i] = static_cast<uint8_t>(codec::BinToBcd(parts[i]));
    return;
  }
  for (int32_t i = 0; i < Info(form).bytes; ++i, value /= 100)
    out[i] = static_cast<uint8_t>(codec::BinToBcd(value % 100));
}

int32_t DecodeValue(Form form, const uint8_t* in) {
  if (form == Form::Time) {
    const int32_t hours = codec::BcdToBin(in[2]) + 100 * codec::BcdToBin(in[3]);
    return hours * 3600 + codec::BcdToBin(in[1]) * 60 + codec::BcdToBin(in[0]);
  }
  int32_t value = 0;
  for (int32_t i = Info(form).bytes - 1; i >= 0; --i)
    value = value * 100 + codec::BcdToBin(in[i]);
  return value;
}

// The reads and writes of the totals go silently over infrared.
void SilentInfrared(CommParams& params) {
  // The size stays the caller's: a record's size bounds what later calls read of it.
  params.LinkType = 1;
  params.ShowDialog = 0;
  params.ParentWindow = 0;
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodeTotals(int32_t type, const TotalsPRVC& totals) {
  const TypeLayout* layout = LayoutOf(type);
  if (layout == nullptr) return std::nullopt;
  const Words words = WordsOf(totals);
  std::vector<uint8_t> bytes(static_cast<size_t>(AreaBytes(layout->entries)));
  uint8_t* at = bytes.data();
  for (const Entry& e : layout->entries) {
    const int32_t value = words[static_cast<size_t>(e.value)];
    int32_t date = words[static_cast<size_t>(e.date)];
    if (value < 0 || value > Info(e.form).max) return std::nullopt;
    if (date == 0) date = platform::Today();
    if (!IsUnitResetDate(date)) return std::nullopt;
    EncodeValue(e.form, value, at);
    at += Info(e.form).bytes;
    const UnitDateBytes d = EncodeUnitDate(date);
    *at++ = d.first;
    *at++ = d.second;
  }
  return bytes;
}

bool DecodeTotals(int32_t type, std::span<const uint8_t> bytes, TotalsPRVC& totals) {
  const TypeLayout* layout = LayoutOf(type);
  if (layout == nullptr || bytes.size() < static_cast<size_t>(AreaBytes(layout->entries)))
    return false;
  Words words{};
  words[0] = type;
  const uint8_t* at = bytes.data();
  for (const Entry& e : layout->entries) {
    words[static_cast<size_t>(e.value)] = DecodeValue(e.form, at);
    at += Info(e.form).bytes;
    const int32_t date = DecodeUnitDate(at[0], at[1]);
    words[static_cast<size_t>(e.date)] = IsUnitResetDate(date) ? date : platform::Today();
    at += kDateBytes;
  }
  std::memcpy(&totals, words.data(), sizeof totals);
  return true;
}

int32_t ReadTotals(CommParams& params, TotalsPRVC& totals) {
  const int32_t address = module().memory_map.totals;
  if (LayoutOf(params.MonitorType) == nullptr || address == 0) return 0;
  SilentInfrared(params);
  std::array<uint8_t, kReadBytes> bytes{};
  if (!ReadUnitMemory(params, address, 0, bytes, kReadPauseMs)) return 0;
  return DecodeTotals(params.MonitorType, bytes, totals) ? 1 : 0;
}

int32_t WriteTotals(CommParams& params, const TotalsPRVC& totals) {
  const int32_t address = module().memory_map.totals;
  const std::optional<std::vector<uint8_t>> bytes = EncodeTotals(params.MonitorType, totals);
  if (!bytes || address == 0) return 0;
  SilentInfrared(params);
  // The unit is read first: a write goes only to a unit that answers.
  std::array<uint8_t, kReadBytes> present{};
  if (!ReadUnitMemory(params, address, 0, present, kReadPauseMs)) return 0;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  if (!WriteUnitMemory(params, params.MonitorType, address, *bytes)) return 0;
  return FinishMemoryWrite(params) ? 1 : 0;
}

}  // namespace quibra::prvc

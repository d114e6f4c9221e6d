#include "settings/gauge_results.h"

#include <algorithm>

#include "codec/bcd.h"
#include "codec/dates.h"
#include "frame/module.h"
#include "platform/today.h"
#include "protocol/message_ids.h"
#include "prvc/unit_date.h"
#include "prvc/unit_info.h"
#include "prvc/unit_memory.h"
#include "settings/service_blocks.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

constexpr int32_t kType22 = 22;
// Type 22 units keep the tests from this variant on.
constexpr int32_t kFirstTestVariant = 3;
constexpr int32_t kMaxResults = 16;
constexpr size_t kEntryValues = 6;
constexpr size_t kOrderAt = 96;

// Type 22: the LoadGauge table comes in two raw memory areas, the FitGauge result in a third.
struct TableArea {
  int32_t area;
  int32_t first_value;
  int32_t count;
};
constexpr TableArea kLoadGaugeAreas[] = {{47, 0, 42}, {48, 42, 43}};
constexpr int32_t kType22Results = 14;
constexpr int32_t kFitGaugeArea = 52;

// The newer units: 120 bytes from the display area + 70 hold the table (values 0..111) and, at
// byte 113, the number of results.
constexpr int32_t kLoadGaugeOffset = 70;
constexpr size_t kLoadGaugeReadBytes = 120;
constexpr size_t kResultCountAt = 113;

// The FitGauge result of the newer units, kept in the display area from + 190 on, between the
// LoadGauge table and the display layouts:
//
//   | byte | content                                            |
//   |------|----------------------------------------------------|
//   | 0, 1 | first test: date, in the units' two-byte date form |
//   | 2    | first test: value                                  |
//   | 3, 4 | second test: date (0x00 0x00: none yet)            |
//   | 5    | second test: value                                 |
constexpr int32_t kFitGaugeOffset = 190;
constexpr size_t kFitGaugeBytes = 6;

bool IsNewer(int32_t type) {
  return type >= 33 && type <= 38;
}

CommParams BuiltParams(uint32_t window) {
  CommParams params = ServiceParams(1, window != 0);
  params.ParentWindow = window;
  return params;
}

int32_t Type22Date(int32_t day_bcd, int32_t year_bcd, int32_t month) {
  return (codec::BcdToBin(year_bcd) + 2000) * 10000 + (month & 0x0F) * 100 +
         codec::BcdToBin(day_bcd);
}

int32_t ReadType22Table(CommParams& params, GaugeTable& table) {
  Module& m = module();
  for (const TableArea& a : kLoadGaugeAreas) {
    SelectBlockLayouts(kType22);
    if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockRead, a.area))) return 0;
    for (int32_t i = 0; i < a.count; ++i)
      table.values[static_cast<size_t>(a.first_value + i)] = m.banks.scratch(kBlockReadAt + i);
  }
  return kType22Results;
}

int32_t ReadNewerTable(CommParams& params, GaugeTable& table) {
  params.ShowDialog = 0;
  const int32_t area = module().memory_map.display_area;
  std::array<uint8_t, kLoadGaugeReadBytes> bytes{};
  // A read that failed yields no results rather than the command bytes left in the scratch.
  if (area == 0 || !prvc::ReadUnitMemory(params, area + kLoadGaugeOffset, 0, bytes, 0)) return 0;
  std::copy_n(bytes.begin(), kLoadGaugeValues, table.values.begin());
  return std::min<int32_t>(bytes[kResultCountAt], kMaxResults);
}

// Not after today and a real date.
bool IsPastTestDate(int32_t date) {
  return codec::IsValidDate(date) && date <= platform::Today();
}

int32_t ReadNewerFitGauge(CommParams& params, FitGaugeResults& record) {
  params.ShowDialog = 0;
  const int32_t area = module().memory_map.display_area;
  std::array<uint8_t, kFitGaugeBytes> bytes{};
  if (area == 0 || !prvc::ReadUnitMemory(params, area + kFitGaugeOffset, 0, bytes, 0)) return 0;
  FitGaugeResults read{};
  read.FirstDate = prvc::DecodeUnitDate(bytes[0], bytes[1]);
  read.FirstValue = bytes[2];
  read.SecondDate = bytes[3] == 0 && bytes[4] == 0 ? 0 : prvc::DecodeUnitDate(bytes[3], bytes[4]);
  read.SecondValue = bytes[5];
  if (!IsPastTestDate(read.FirstDate)) return 0;
  record = read;
  return 1;
}

int32_t ReadOlderFitGauge(CommParams& params, FitGaugeResults& record, int32_t type) {
  SelectBlockLayouts(kType22);
  if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockRead, kFitGaugeArea)))
    return 0;
  const protocol::Banks& banks = module().banks;
  const auto s = [&](int32_t index) { return static_cast<int32_t>(banks.scratch(index)); };
  const int32_t k = type == kType22 ? 16 : 11;
  FitGaugeResults read{};
  read.FirstDate = Type22Date(s(k + 8), s(k + 9), s(k + 10));
  // The high nibble of the month byte carries a rounding step of the value.
  read.FirstValue = s(k + 11) + ((s(k + 10) >> 4) > 7 ? 1 : 0);
  if (!IsPastTestDate(read.FirstDate)) return 0;
  read.SecondDate = Type22Date(s(k + 12), s(k + 13), s(k + 14));
  read.SecondValue = s(k + 15);
  record = read;
  return 1;
}

}  // namespace

int32_t ReadLoadGaugeResults(uint32_t window, int32_t type_given, int32_t type) {
  CommParams params = BuiltParams(window);
  if (type_given != 0) {
    if (type != kType22 && !IsNewer(type)) return 0;
  } else {
    MonitorInfo info{};
    info.Size = QUIBRA_MONITOR_INFO_SIZE;
    if (prvc::ReadMonitorInfo(params, info) != 1) return 0;
    type = info.MonitorInUse;
    if (type != kType22 && !IsNewer(type)) return 0;
    if (type == kType22 && static_cast<int32_t>(info.DataVersion) < kFirstTestVariant) return 0;
  }
  GaugeTable& table = module().gauges;
  table.values.fill(0);
  return type == kType22 ? ReadType22Table(params, table) : ReadNewerTable(params, table);
}

int32_t GetLoadGaugeResult(int32_t entry, int32_t type, LoadGaugeResult& record) {
  if (entry < 0 || entry >= kMaxResults || (type != kType22 && !IsNewer(type))) return 0;
  record = LoadGaugeResult{};
  record.Size = sizeof(LoadGaugeResult);
  const GaugeTable& table = module().gauges;
  const size_t index = IsNewer(type) ? table.values[kOrderAt + static_cast<size_t>(entry)]
                                     : static_cast<size_t>(entry);
  // An order value past the table names no result.
  if ((index + 1) * kEntryValues > kOrderAt) return 0;
  const uint8_t* b = &table.values[index * kEntryValues];
  if (IsNewer(type)) {
    record.TestDate = prvc::DecodeUnitDate(b[0], b[1]);
    record.Rating = b[2];
  } else {
    record.TestDate = Type22Date(b[0], b[1], b[2]);
    record.Rating = b[2] >> 4;
  }
  record.HeartRate1 = b[3];
  record.HeartRate2 = b[4];
  record.HeartRate3 = b[5];
  const auto heart_rate = [](int32_t v) { return v >= 15 && v <= 240; };
  const bool valid = record.Rating >= 1 && record.Rating <= 9 && record.TestDate >= 20060102 &&
                     record.TestDate < 100000000 && heart_rate(record.HeartRate1) &&
                     heart_rate(record.HeartRate2) && heart_rate(record.HeartRate3);
  return valid ? 1 : 0;
}

int32_t ReadFitGaugeResults(uint32_t window, FitGaugeResults& record, int32_t type) {
  CommParams params = BuiltParams(window);
  return IsNewer(type) ? ReadNewerFitGauge(params, record)
                       : ReadOlderFitGauge(params, record, type);
}

}  // namespace quibra::settings

#include "prvc/targets.h"

#include <span>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "prvc/training_transfer.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// Daily targets area: seven entries of five bytes, Monday first:
//   + 0  Minutes, 3 decimal digits, low pair first (2 bytes)
//   + 2  Zone
//   + 3  Distance in hundreds of metres, 4 decimal digits, low pair first (2 bytes)
// Weekly targets area:
//   + 0  TotalMinutes, 4 digits low pair first    + 2  Sessions, 2 digits
//   + 3  Distance, 4 digits low pair first        + 5  ZoneMinutes[0..4], 4 digits each
// Exercise area 3 + 2: bit 0 TargetsOn; bits 1..7 are the unit's own and kept.
constexpr int32_t kDays = 7;
constexpr int32_t kZones = 5;
constexpr uint8_t kUnitOwnTargetBits = 0xFE;

void Digits(std::span<uint8_t> area, size_t at, size_t bytes, int32_t value) {
  PackBcdLowFirst(area.subspan(at, bytes), value);
}

}  // namespace

bool CheckDailyTargets(PrvcDailyTargets& r) {
  if (!AcceptsNewerUnit(r.UnitType)) return false;
  r.Size = sizeof r;
  for (int32_t d = 0; d < kDays; ++d) {
    r.Minutes[d] = InRangeOr(r.Minutes[d], 0, 999, 0);
    r.Zone[d] = InRangeOr(r.Zone[d], 0, 5, 0);
    r.Distance[d] = InRangeOr(r.Distance[d], 0, 9999, 0);
  }
  return true;
}

bool CheckWeeklyTargets(PrvcWeeklyTargets& r) {
  if (!AcceptsNewerUnit(r.UnitType)) return false;
  if (!IsSwitch(r.TargetsOn)) return Refuse();
  r.Size = sizeof r;
  r.TotalMinutes = InRangeOr(r.TotalMinutes, 0, 9999, 0);
  r.Sessions = InRangeOr(r.Sessions, 0, 99, 0);
  r.Distance = InRangeOr(r.Distance, 0, 9999, 0);
  for (int32_t& minutes : r.ZoneMinutes)
    minutes = InRangeOr(minutes, 0, 9999, 0);
  return true;
}

std::array<uint8_t, kDailyTargetsBytes> PackDailyTargets(const PrvcDailyTargets& r) {
  std::array<uint8_t, kDailyTargetsBytes> area{};
  for (int32_t d = 0; d < kDays; ++d) {
    const std::span<uint8_t> day =
        std::span<uint8_t>(area).subspan(static_cast<size_t>(d) * kDailyTargetBytes);
    Digits(day, 0, 2, r.Minutes[d]);
    day[2] = static_cast<uint8_t>(r.Zone[d]);
    Digits(day, 3, 2, r.Distance[d]);
  }
  return area;
}

std::array<uint8_t, kWeeklyTargetsBytes> PackWeeklyTargets(const PrvcWeeklyTargets& r) {
  std::array<uint8_t, kWeeklyTargetsBytes> area{};
  Digits(area, 0, 2, r.TotalMinutes);
  Digits(area, 2, 1, r.Sessions);
  Digits(area, 3, 2, r.Distance);
  for (int32_t z = 0; z < kZones; ++z)
    Digits(area, 5 + 2 * static_cast<size_t>(z), 2, r.ZoneMinutes[z]);
  return area;
}

int32_t SendDailyTargets(CommParams& params, PrvcDailyTargets& r) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!CheckDailyTargets(r)) return 0;
  if (!WriteUnitMemory(params, r.UnitType, module().memory_map.daily_targets,
                       PackDailyTargets(r))) {
    return 0;
  }
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return FinishMemoryWrite(params) ? 1 : 0;
}

int32_t SendWeeklyTargets(CommParams& params, PrvcWeeklyTargets& r) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!CheckWeeklyTargets(r)) return 0;
  const UnitMemoryMap& map = module().memory_map;
  if (!WriteUnitMemory(params, r.UnitType, map.weekly_targets, PackWeeklyTargets(r))) return 0;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  const int32_t switch_at = map.exercise_area3 + kWeeklySwitchOffset;
  uint8_t on = static_cast<uint8_t>(r.TargetsOn);
  if (!MergeWithUnitByte(params, switch_at, kUnitOwnTargetBits, on)) return 0;
  const uint8_t switch_byte[] = {on};
  if (!WriteUnitMemory(params, r.UnitType, switch_at, switch_byte)) return 0;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return FinishMemoryWrite(params) ? 1 : 0;
}

void ResetDailyTargets(PrvcDailyTargets& r) {
  r = PrvcDailyTargets{};
  r.Size = sizeof r;
}

void ResetWeeklyTargets(PrvcWeeklyTargets& r) {
  r = PrvcWeeklyTargets{};
  r.Size = sizeof r;
}

}  // namespace quibra::prvc

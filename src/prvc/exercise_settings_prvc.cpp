#include "prvc/exercise_settings_prvc.h"

#include <cstring>
#include <span>

#include "codec/bcd.h"
#include "codec/charset.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "prvc/device_text.h"
#include "prvc/training_transfer.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// The three areas, from the addresses of the unit's memory map:
//
//   exercise area 1 + 0   Name, 10 characters of device table 5, the end marked
//                   + 10  bit 0 Timer1On, bit 1 Timer2On
//                   + 11  Timer1: seconds, then whole minutes, BCD
//                   + 13  Timer2: likewise
//                   + 15  ZoneMode
//   exercise area 2 + 0   Lower1, Upper1, Lower2, Upper2, Lower3, Upper3, one byte each
//   exercise area 3 + 0   bit 0 RecoveryOn; bits 1..7 are the unit's own and kept
//                   + 1   RecoveryHR
// (Byte 2 of exercise area 3 belongs to the weekly targets.)
constexpr size_t kNameChars = 10;
constexpr size_t kTimerSwitches = 10;
constexpr size_t kTimer1 = 11;
constexpr size_t kTimer2 = 13;
constexpr size_t kZoneMode = 15;
constexpr uint8_t kUnitOwnRecoveryBits = 0xFE;
constexpr int32_t kRecordSize = sizeof(PrvcExerciseSettings);
constexpr char kEmptyName[] = "-";
constexpr int32_t kDefaultTimer = 120;
constexpr int32_t kDefaultRecovery = 100;
enum ZoneMode : int32_t { kNoZones = 0, kBeats = 1, kPercent = 2 };

using Field = int32_t PrvcExerciseSettings::*;
struct Zone {
  Field lower;
  Field upper;
  int32_t beats[2];    // default limits in beats per minute
  int32_t percent[2];  // and in percent of the maximum
};
constexpr Zone kZones[] = {
    {&PrvcExerciseSettings::Lower1, &PrvcExerciseSettings::Upper1, {120, 140}, {60, 70}},
    {&PrvcExerciseSettings::Lower2, &PrvcExerciseSettings::Upper2, {140, 160}, {70, 80}},
    {&PrvcExerciseSettings::Lower3, &PrvcExerciseSettings::Upper3, {160, 180}, {80, 90}},
};

void PackTimer(std::span<uint8_t> out, int32_t seconds) {
  out[0] = static_cast<uint8_t>(codec::BinToBcd(seconds % 60));
  out[1] = static_cast<uint8_t>(codec::BinToBcd(seconds / 60));
}

int32_t UnpackTimer(std::span<const uint8_t> in) {
  return codec::BcdToBin(in[1]) * 60 + codec::BcdToBin(in[0]);
}

}  // namespace

bool CheckExerciseSettings(PrvcExerciseSettings& r) {
  if (!AcceptsNewerUnit(r.UnitType)) return false;
  r.Name[sizeof r.Name - 1] = '\0';
  if (r.Name[0] == '\0') std::memcpy(r.Name, kEmptyName, sizeof kEmptyName);
  if (std::strlen(r.Name) > kNameChars || !codec::CheckCharString(r.Name, kNewerTextTable) ||
      !IsSwitch(r.Timer1On) || !IsSwitch(r.Timer2On) || !IsSwitch(r.RecoveryOn)) {
    return Refuse();
  }
  r.Size = kRecordSize;
  r.Timer1 = InRangeOr(r.Timer1, 5, 5999, kDefaultTimer);
  r.Timer2 = InRangeOr(r.Timer2, 5, 5999, kDefaultTimer);
  r.ZoneMode = InRangeOr(r.ZoneMode, kNoZones, kPercent, kNoZones);
  const bool percent = r.ZoneMode == kPercent;
  for (const Zone& z : kZones) {
    const int32_t* defaults = percent ? z.percent : z.beats;
    const int32_t highest = percent ? 100 : 240;
    r.*z.lower = InRangeOr(r.*z.lower, 30, highest, defaults[0]);
    r.*z.upper = InRangeOr(r.*z.upper, 30, highest, defaults[1]);
    if (r.*z.lower >= r.*z.upper) return Refuse();
  }
  r.RecoveryHR = InRangeOr(r.RecoveryHR, 60, 200, kDefaultRecovery);
  return true;
}

ExerciseSettingsBytes PackExerciseSettings(const PrvcExerciseSettings& r) {
  ExerciseSettingsBytes out;
  const std::span<uint8_t> a1(out.area1);
  PackDeviceText(a1.subspan(0, kNameChars), r.Name, sizeof r.Name, kNewerTextTable);
  a1[kTimerSwitches] = static_cast<uint8_t>(r.Timer1On | r.Timer2On << 1);
  PackTimer(a1.subspan(kTimer1, 2), r.Timer1);
  PackTimer(a1.subspan(kTimer2, 2), r.Timer2);
  a1[kZoneMode] = static_cast<uint8_t>(r.ZoneMode);
  for (size_t i = 0; i < std::size(kZones); ++i) {
    out.area2[2 * i] = static_cast<uint8_t>(r.*kZones[i].lower);
    out.area2[2 * i + 1] = static_cast<uint8_t>(r.*kZones[i].upper);
  }
  out.area3 = {static_cast<uint8_t>(r.RecoveryOn), static_cast<uint8_t>(r.RecoveryHR)};
  return out;
}

void UnpackExerciseSettings(const ExerciseSettingsBytes& in, PrvcExerciseSettings& r) {
  const std::span<const uint8_t> a1(in.area1);
  std::memset(r.Name, 0, sizeof r.Name);
  UnpackDeviceText(a1.subspan(0, kNameChars), r.Name, sizeof r.Name, kNewerTextTable, ' ',
                   TrailingSpaces::ClearAll);
  r.Timer1On = a1[kTimerSwitches] & 1;
  r.Timer2On = a1[kTimerSwitches] >> 1 & 1;
  r.Timer1 = UnpackTimer(a1.subspan(kTimer1, 2));
  r.Timer2 = UnpackTimer(a1.subspan(kTimer2, 2));
  r.ZoneMode = a1[kZoneMode];
  for (size_t i = 0; i < std::size(kZones); ++i) {
    r.*kZones[i].lower = in.area2[2 * i];
    r.*kZones[i].upper = in.area2[2 * i + 1];
  }
  r.RecoveryOn = in.area3[0] & 1;
  r.RecoveryHR = in.area3[1];
}

int32_t SendExerciseSettingsPrvc(CommParams& params, PrvcExerciseSettings& r) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!CheckExerciseSettings(r)) return 0;
  ExerciseSettingsBytes bytes = PackExerciseSettings(r);
  const UnitMemoryMap& map = module().memory_map;
  auto pause = [] { platform::clock().sleep_ms(kAreaWritePauseMs); };
  if (!WriteUnitMemory(params, r.UnitType, map.exercise_area1, bytes.area1)) return 0;
  pause();
  if (!WriteUnitMemory(params, r.UnitType, map.exercise_area2, bytes.area2)) return 0;
  pause();
  if (!MergeWithUnitByte(params, map.exercise_area3, kUnitOwnRecoveryBits, bytes.area3[0]) ||
      !WriteUnitMemory(params, r.UnitType, map.exercise_area3, bytes.area3)) {
    return 0;
  }
  pause();
  return FinishMemoryWrite(params) ? 1 : 0;
}

int32_t ReadExerciseSettingsPrvc(CommParams& params, PrvcExerciseSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  const int32_t type = params.MonitorType;
  if (!AcceptsNewerUnit(type)) return 0;
  const UnitMemoryMap& map = module().memory_map;
  ExerciseSettingsBytes bytes;
  if (!ReadUnitMemory(params, map.exercise_area1, 0, bytes.area1, kAreaWritePauseMs) ||
      !ReadUnitMemory(params, map.exercise_area2, 0, bytes.area2, kAreaWritePauseMs) ||
      !ReadUnitMemory(params, map.exercise_area3, 0, bytes.area3, kAreaWritePauseMs)) {
    return 0;
  }
  PrvcExerciseSettings read{};
  read.UnitType = type;
  UnpackExerciseSettings(bytes, read);
  // Limits the unit holds in the wrong order fail the check: the record then shows them as
  // they are, with the other fields completed.
  CheckExerciseSettings(read);
  read.Size = kRecordSize;
  record = read;
  return 1;
}

void ResetExerciseSettingsPrvc(PrvcExerciseSettings& r) {
  r = PrvcExerciseSettings{};
  r.Size = kRecordSize;
  std::memcpy(r.Name, kEmptyName, sizeof kEmptyName);
  r.Timer1 = kDefaultTimer;
  r.Timer2 = kDefaultTimer;
  for (const Zone& z : kZones) {
    r.*z.lower = z.beats[0];
    r.*z.upper = z.beats[1];
  }
  r.RecoveryHR = kDefaultRecovery;
}

}  // namespace quibra::prvc

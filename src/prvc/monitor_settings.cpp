#include "prvc/monitor_settings.h"

#include <algorithm>
#include <span>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/raw_memory.h"
#include "prvc/training_transfer.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// Where the monitor settings lie, from the addresses of the unit's memory map:
//
//   settings area + 0  bit 0 Imperial, bit 1 ButtonSound, bit 2 KeyLock, bit 3 AutoScroll,
//                      bit 4 AutoLapOn; bits 5..7 are the unit's own and kept
//                 + 1  low nibble HeartRateView, high nibble SpeedView
//                 + 2  Language
//                 + 3  AutoLapDistance in tens of metres, 4 decimal digits, low pair first
//                 + 5  RecordingInterval as a code: 0 1 s, 1 5 s, 2 15 s, 3 60 s
//   sensor area   + 0  bit 0 speed, bit 1 cadence, bit 2 stride, bit 3 power sensor in use;
//                      bits 4..7 are the unit's own and kept
//   display area  + 0  Contrast, 1..7
enum SettingsByte : size_t {
  kSwitches = 0,
  kViews = 1,
  kLanguage = 2,
  kLapDistance = 3,
  kInterval = 5
};
constexpr uint8_t kUnitOwnSwitchBits = 0xE0;
constexpr uint8_t kUnitOwnSensorBits = 0xF0;
constexpr int32_t kRecordSize = sizeof(PrvcMonitorSettings);
constexpr int32_t kIntervals[] = {1, 5, 15, 60};
constexpr int32_t kDefaultInterval = 5;
constexpr int32_t kDefaultLapDistance = 1000;
constexpr int32_t kDefaultContrast = 4;

using Field = int32_t PrvcMonitorSettings::*;
// The switches of the first settings byte and of the sensor byte, bit k from entry k.
constexpr Field kSwitchBits[] = {&PrvcMonitorSettings::Imperial, &PrvcMonitorSettings::ButtonSound,
                                 &PrvcMonitorSettings::KeyLock, &PrvcMonitorSettings::AutoScroll,
                                 &PrvcMonitorSettings::AutoLapOn};
constexpr Field kSensorBits[] = {
    &PrvcMonitorSettings::SpeedSensorOn, &PrvcMonitorSettings::CadenceSensorOn,
    &PrvcMonitorSettings::StrideSensorOn, &PrvcMonitorSettings::PowerSensorOn};

template <size_t N>
uint8_t BitsOf(const PrvcMonitorSettings& r, const Field (&fields)[N]) {
  uint8_t bits = 0;
  for (size_t i = 0; i < N; ++i)
    bits = static_cast<uint8_t>(bits | (r.*fields[i] & 1) << i);
  return bits;
}

template <size_t N>
void SetBits(PrvcMonitorSettings& r, const Field (&fields)[N], uint8_t bits) {
  for (size_t i = 0; i < N; ++i)
    r.*fields[i] = bits >> i & 1;
}

int32_t IntervalCode(int32_t seconds) {
  const auto* at = std::find(std::begin(kIntervals), std::end(kIntervals), seconds);
  return static_cast<int32_t>(at - std::begin(kIntervals));
}

}  // namespace

bool CheckMonitorSettings(PrvcMonitorSettings& r) {
  if (!AcceptsNewerUnit(r.UnitType)) return false;
  for (const Field f : kSwitchBits) {
    if (!IsSwitch(r.*f)) return Refuse();
  }
  for (const Field f : kSensorBits) {
    if (!IsSwitch(r.*f)) return Refuse();
  }
  r.Size = kRecordSize;
  r.HeartRateView = InRangeOr(r.HeartRateView, 0, 2, 0);
  r.SpeedView = InRangeOr(r.SpeedView, 0, 1, 0);
  r.Language = InRangeOr(r.Language, 0, 5, 0);
  // The unit counts the lap distance in tens of metres: what it keeps is what the record says.
  r.AutoLapDistance = InRangeOr(r.AutoLapDistance, 100, 50000, kDefaultLapDistance) / 10 * 10;
  if (IntervalCode(r.RecordingInterval) == static_cast<int32_t>(std::size(kIntervals)))
    r.RecordingInterval = kDefaultInterval;
  r.Contrast = InRangeOr(r.Contrast, 1, 7, kDefaultContrast);
  return true;
}

MonitorSettingsBytes PackMonitorSettings(const PrvcMonitorSettings& r) {
  MonitorSettingsBytes out;
  auto& s = out.settings;
  s[kSwitches] = BitsOf(r, kSwitchBits);
  s[kViews] = static_cast<uint8_t>((r.HeartRateView & 0x0F) | (r.SpeedView & 0x0F) << 4);
  s[kLanguage] = static_cast<uint8_t>(r.Language);
  PackBcdLowFirst(std::span<uint8_t>(s).subspan(kLapDistance, 2), r.AutoLapDistance / 10);
  s[kInterval] = static_cast<uint8_t>(IntervalCode(r.RecordingInterval));
  out.sensors = BitsOf(r, kSensorBits);
  out.display = static_cast<uint8_t>(r.Contrast);
  return out;
}

void UnpackMonitorSettings(const MonitorSettingsBytes& in, PrvcMonitorSettings& r) {
  const auto& s = in.settings;
  SetBits(r, kSwitchBits, s[kSwitches]);
  r.HeartRateView = s[kViews] & 0x0F;
  r.SpeedView = s[kViews] >> 4;
  r.Language = s[kLanguage];
  r.AutoLapDistance = UnpackBcdLowFirst(std::span<const uint8_t>(s).subspan(kLapDistance, 2)) * 10;
  const size_t code = s[kInterval];
  r.RecordingInterval = code < std::size(kIntervals) ? kIntervals[code] : 0;
  SetBits(r, kSensorBits, in.sensors);
  r.Contrast = in.display;
}

int32_t PrepareMonitorSettings(PrvcMonitorSettings& r) {
  if (!CheckMonitorSettings(r)) return 0;
  const MonitorSettingsBytes bytes = PackMonitorSettings(r);
  const int32_t data_at = protocol::BuildMemoryWriteCommand(
      r.UnitType, 0, 0, module().memory_map.settings_area, kMonitorSettingsBytes);
  if (data_at < 0) return 0;
  for (size_t i = 0; i < kMonitorSettingsBytes; ++i)
    module().banks.set_scratch(data_at + static_cast<int32_t>(i), bytes.settings[i]);
  return 1;
}

int32_t SendMonitorSettings(CommParams& params, PrvcMonitorSettings& r) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!CheckMonitorSettings(r)) return 0;
  MonitorSettingsBytes bytes = PackMonitorSettings(r);
  const UnitMemoryMap& map = module().memory_map;
  auto pause = [] { platform::clock().sleep_ms(kAreaWritePauseMs); };
  if (!MergeWithUnitByte(params, map.settings_area, kUnitOwnSwitchBits, bytes.settings[0]) ||
      !WriteUnitMemory(params, r.UnitType, map.settings_area, bytes.settings)) {
    return 0;
  }
  pause();
  const uint8_t display[] = {bytes.display};
  if (!MergeWithUnitByte(params, map.sensor_area, kUnitOwnSensorBits, bytes.sensors)) return 0;
  const uint8_t sensors[] = {bytes.sensors};
  if (!WriteUnitMemory(params, r.UnitType, map.sensor_area, sensors)) return 0;
  pause();
  if (!WriteUnitMemory(params, r.UnitType, map.display_area, display)) return 0;
  pause();
  return FinishMemoryWrite(params) ? 1 : 0;
}

int32_t ReadMonitorSettings(CommParams& params, PrvcMonitorSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  const int32_t type = params.MonitorType;
  if (!AcceptsNewerUnit(type)) return 0;
  const UnitMemoryMap& map = module().memory_map;
  MonitorSettingsBytes bytes;
  std::array<uint8_t, 1> sensors{};
  std::array<uint8_t, 1> display{};
  if (!ReadUnitMemory(params, map.settings_area, 0, bytes.settings, kAreaWritePauseMs) ||
      !ReadUnitMemory(params, map.sensor_area, 0, sensors, kAreaWritePauseMs) ||
      !ReadUnitMemory(params, map.display_area, 0, display, kAreaWritePauseMs)) {
    return 0;
  }
  bytes.sensors = sensors[0];
  bytes.display = display[0];
  PrvcMonitorSettings read{};
  read.UnitType = type;
  UnpackMonitorSettings(bytes, read);
  CheckMonitorSettings(read);  // bits give switches of 0 or 1: it only fills defaults
  record = read;
  return 1;
}

void ResetMonitorSettings(PrvcMonitorSettings& r) {
  r = PrvcMonitorSettings{};
  r.Size = kRecordSize;
  r.ButtonSound = 1;
  r.AutoLapDistance = kDefaultLapDistance;
  r.RecordingInterval = kDefaultInterval;
  r.Contrast = kDefaultContrast;
}

}  // namespace quibra::prvc

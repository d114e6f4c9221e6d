// The general settings of the newer running and cycling units (types 33..38): units, sounds,
// views, language, automatic laps, recording interval, contrast and which sensors are in use.
// They are spread over three areas of the unit's memory: the settings area, the sensor area and
// the display area (layout in monitor_settings.cpp).
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr size_t kMonitorSettingsBytes = 6;  // at the settings area

// The bytes the record gives each area. The first settings byte and the sensor byte carry bits
// of the unit's own (kept by the send); here they are 0.
struct MonitorSettingsBytes {
  std::array<uint8_t, kMonitorSettingsBytes> settings{};
  uint8_t sensors = 0;
  uint8_t display = 0;
};

// Completes the record in place (defaults for values out of range); false with error code 104
// for a switch other than 0 or 1 or a type the identified unit does not take.
bool CheckMonitorSettings(PrvcMonitorSettings& record);
MonitorSettingsBytes PackMonitorSettings(const PrvcMonitorSettings& record);
// The record's fields from the three areas; Size and UnitType are left.
void UnpackMonitorSettings(const MonitorSettingsBytes& bytes, PrvcMonitorSettings& record);

// Checks the record and leaves the settings-area write in the direct memory write command
// (9089) as the send would send it, without sending it. 1 / 0.
int32_t PrepareMonitorSettings(PrvcMonitorSettings& record);
// Checks the record (0 with nothing sent when it fails), writes the three areas keeping the
// unit's own bits, then has the unit take them. 1 / 0; with ReadFromDataFile 1 at once.
int32_t SendMonitorSettings(CommParams& params, PrvcMonitorSettings& record);
// Reads the three areas of the unit of params.MonitorType and completes the record with the
// check. 0 with the record untouched when the type is refused or an exchange failed.
int32_t ReadMonitorSettings(CommParams& params, PrvcMonitorSettings& record);
// The record of a fresh unit, for the fields a shorter caller record lacks.
void ResetMonitorSettings(PrvcMonitorSettings& record);

}  // namespace quibra::prvc

// Exported unit commands and service values: argument conversion and the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "protocol/message_ids.h"
#include "quibra/quibra.h"
#include "settings/service_params.h"
#include "settings/unit_commands.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

namespace {

int32_t Command(CommParams* params, int32_t message) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params,
                                [&](CommParams& cp) { return s::SendSimpleCommand(cp, message); });
  });
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorToWatchMode(CommParams* params) {
  return Command(params, quibra::protocol::msg::kWatchMode);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendFactoryDefaultCommand(CommParams* params) {
  return Command(params, quibra::protocol::msg::kFactoryDefaults);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetMonitorToSleepMode(CommParams* params) {
  return Command(params, quibra::protocol::msg::kSleepMode);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_RestoreEepromMemory(CommParams* params) {
  return Command(params, quibra::protocol::msg::kRestoreMemory);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDisplayOff(CommParams* params) {
  return Command(params, quibra::protocol::msg::kDisplayOff);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteTotalCalories(int32_t value) {
  return f::Guarded<int32_t>(0, [&] { return s::WriteTotalCalories(value); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteIDNumber(int32_t value) {
  return f::Guarded<int32_t>(0, [&] { return s::WriteIDNumber(value); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTotalCalories(void) {
  return f::Guarded<int32_t>(0, [] { return s::ReadTotalCalories(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadIDNumber(void) {
  return f::Guarded<int32_t>(0, [] { return s::ReadIDNumber(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SwitchMonitorType(int32_t type, int32_t mode) {
  return f::Guarded<int32_t>(0, [&] { return s::SwitchMonitorType(type, mode); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDefaultHourMode(int32_t mode, int32_t variant) {
  return fnQuibra_SetDefaultHourModeEx(0, mode, variant, 11, 1);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDefaultHourModeEx(int32_t link_type, int32_t mode,
                                                             int32_t variant, int32_t monitor_type,
                                                             int32_t factory_defaults) {
  return f::Guarded<int32_t>(0, [&] {
    return s::SetDefaultHourMode(link_type, mode, variant, monitor_type, factory_defaults);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetTimeCorrectionValue(int32_t value) {
  return fnQuibra_SetTimeCorrectionValueEx(0, value, 11, 1, 750);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetTimeCorrectionValueEx(int32_t link_type, int32_t value,
                                                                 int32_t monitor_type,
                                                                 int32_t factory_defaults,
                                                                 int32_t delay_ms) {
  return f::Guarded<int32_t>(0, [&] {
    return s::SetTimeCorrectionValue(link_type, value, monitor_type, factory_defaults, delay_ms);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetLCDContrast(int32_t level) {
  return fnQuibra_SetLCDContrastEx(0, level, 11, 1);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetLCDContrastEx(int32_t link_type, int32_t level,
                                                         int32_t monitor_type,
                                                         int32_t factory_defaults) {
  return f::Guarded<int32_t>(
      0, [&] { return s::SetLCDContrast(link_type, level, monitor_type, factory_defaults); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendFileDeleteCommand(CommParams* params, int32_t file,
                                                              int32_t date, int32_t time,
                                                              int32_t twelve_hour) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::SendFileDeleteCommand(cp, file, date, time, twelve_hour);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetK65LimitAlarmOff(void) {
  return f::Guarded<int32_t>(0, [] { return s::SetK65LimitAlarmOff(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteMemoryByte(int32_t link_type, int32_t area,
                                                        int32_t value) {
  return f::Guarded<int32_t>(0, [&] { return s::WriteMemoryByte(link_type, area, value); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetUsageCounters(int32_t copy_to_clipboard) {
  return f::Guarded<int32_t>(0, [&] { return s::GetUsageCounters(copy_to_clipboard); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadUsageCounterValue(int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return s::ReadUsageCounterValue(index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteFactoryEEPROMDataPRVCeq(const uint8_t* bytes,
                                                                     int32_t count,
                                                                     int32_t monitor_type) {
  return f::Guarded<int32_t>(0,
                             [&] { return s::WriteFactoryEEPROMData(bytes, count, monitor_type); });
}

}  // extern "C"

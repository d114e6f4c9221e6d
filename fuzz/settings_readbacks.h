// The settings read-backs the settings fuzz target drives, shared with its seed writer: every
// export that reads something from a unit and unpacks it, called as an application calls it.
// Input format: byte 0 picks the read-back, byte 1 the unit type (unit_types.h), byte 2 the
// unit's variant (bits 0..3) and the IrDA short form (bit 4), byte 3 is the call's argument
// (profile or set number, logo slot, file, mode); the rest are the unit's answers (pieces.h).
#pragma once

#include <array>
#include <cstdint>

#include "fuzz/library_calls.h"
#include "quibra/quibra.h"

namespace quibra::fuzz {

inline constexpr uint8_t kIrdaForm = 0x10;

inline constexpr std::array<LibraryCall, 17> kReadBacks = {{
    {"user settings",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<UserSettings>();
       return fnQuibra_ReadUserSettings(&p, &r);
     }},
    {"watch settings",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<WatchSettings>();
       return fnQuibra_ReadWatchSettings(&p, &r);
     }},
    {"exercise profile",
     [](CommParams& p, int32_t, uint8_t arg) {
       auto r = SizedRecord<ExerciseProfile>();
       return fnQuibra_ReadExerciseProfile(&p, 1 + arg % 7, &r);
     }},
    {"exercise set",
     [](CommParams& p, int32_t, uint8_t arg) {
       auto r = SizedRecord<ExerciseSet>();
       return fnQuibra_ReadExerciseSet(&p, 1 + arg % 5, &r, (arg >> 4) & 1);
     }},
    {"bikes",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<BikeSettings>();
       return fnQuibra_ReadBikesSettings(&p, &r);
     }},
    {"logo",
     [](CommParams& p, int32_t type, uint8_t arg) {
       int32_t columns[64] = {};
       return fnQuibra_ReadMonitorLogo(&p, type, columns, arg % 4);
     }},
    {"logo from memory",
     [](CommParams& p, int32_t, uint8_t arg) {
       int32_t columns[64] = {};
       return fnQuibra_PRVC_ReadBitmap(&p, columns, arg % 4);
     }},
    {"service values",
     [](CommParams&, int32_t, uint8_t) {
       return fnQuibra_ReadTotalCalories() + fnQuibra_ReadIDNumber();
     }},
    {"usage counters",
     [](CommParams&, int32_t, uint8_t arg) {
       return fnQuibra_GetUsageCounters(0) + fnQuibra_ReadUsageCounterValue(arg % 14);
     }},
    {"unit info",
     [](CommParams& p, int32_t, uint8_t arg) {
       auto info = SizedRecord<MonitorInfo>();
       info.MonitorInUse = (arg & 1) != 0 ? -1 : 0;
       return fnQuibra_ReadMonitorInfo(&p, &info);
     }},
    {"memory state",
     [](CommParams& p, int32_t, uint8_t) { return fnQuibra_EEPROMStateCheckFix(&p); }},
    {"stride sensor", [](CommParams& p, int32_t, uint8_t) { return fnQuibra_N4Sensor(&p); }},
    {"paired sensors",
     [](CommParams& p, int32_t, uint8_t) {
       int32_t flags[6] = {};
       return fnQuibra_Sensors_PRVCZ(&p, flags);
     }},
    // Type 10 switches by sound, which reads nothing back (and would play the upload).
    {"monitor type switch",
     [](CommParams&, int32_t type, uint8_t arg) {
       return type == 10 ? 0 : fnQuibra_SwitchMonitorType(type, arg % 4);
     }},
    {"memory byte",
     [](CommParams&, int32_t, uint8_t arg) { return fnQuibra_WriteMemoryByte(1, 9, arg); }},
    {"alarm off", [](CommParams&, int32_t, uint8_t) { return fnQuibra_SetK65LimitAlarmOff(); }},
    {"file delete",
     [](CommParams& p, int32_t, uint8_t arg) {
       return fnQuibra_SendFileDeleteCommand(&p, arg % 4, 20260101, 3600, 0);
     }},
}};

}  // namespace quibra::fuzz

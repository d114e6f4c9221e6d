// The readers of the data file that the data-file target drives, shared with its seed writer.
// Input format: byte 0 picks the reader, byte 1 the unit type (unit_types.h), byte 2 is the
// reader's argument (the message of a plain section read, a set's layout); the rest is the
// data file. Every reader but the first is a settings send in the mode where the data file
// stands in for the unit: the file fills the message image, which is then unpacked into the
// caller's record.
#pragma once

#include <array>
#include <cstdint>

#include "fuzz/library_calls.h"
#include "protocol/data_file.h"
#include "protocol/message_ids.h"
#include "quibra/quibra.h"

namespace quibra::fuzz {

inline constexpr std::array<LibraryCall, 8> kDataFileReaders = {{
    {"section",
     [](CommParams& p, int32_t, uint8_t arg) {
       const int32_t id =
           protocol::msg::kFirst + arg % (protocol::msg::kLast - protocol::msg::kFirst + 1);
       return protocol::ReadDataFile(p, id, 1) + fnGetIDFromDataFile(&p);
     }},
    {"user settings",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<UserSettings>();
       fnQuibra_ResetUserSettings(&r);
       return fnQuibra_SendUserSettings(&p, &r);
     }},
    {"watch settings",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<WatchSettings>();
       fnQuibra_ResetWatchSettings(&r);
       return fnQuibra_SendWatchSettings(&p, &r);
     }},
    {"exercise profile",
     [](CommParams& p, int32_t, uint8_t arg) {
       auto r = SizedRecord<ExerciseProfile>();
       fnQuibra_ResetExerciseProfile(1 + arg % 7, &r, 0);
       return fnQuibra_SendExerciseProfile(&p, &r);
     }},
    {"exercise limits",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<ExerciseLimits>();
       fnQuibra_ResetExerciseLimits(&r);
       return fnQuibra_SendExerciseLimits(&p, &r);
     }},
    {"exercise set",
     [](CommParams& p, int32_t type, uint8_t arg) {
       auto r = SizedRecord<ExerciseSet>();
       fnQuibra_ResetExerciseSet(1 + arg % 5, &r, 0, type);
       return fnQuibra_SendExerciseSet(&p, &r, (arg >> 4) & 1);
     }},
    {"bikes",
     [](CommParams& p, int32_t, uint8_t) {
       auto r = SizedRecord<BikeSettings>();
       fnQuibra_ResetBikeSettings(&r);
       return fnQuibra_SendBikesSettings(&p, &r);
     }},
    {"logo",
     [](CommParams& p, int32_t type, uint8_t arg) {
       const int32_t columns[64] = {1, 2, 4, 8};
       return fnQuibra_SendMonitorLogo(&p, type, columns, arg % 4);
     }},
}};

}  // namespace quibra::fuzz

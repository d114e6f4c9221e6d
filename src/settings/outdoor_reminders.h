// The five dated reminders of the outdoor units, written with message 9052 and read with 9053,
// one sub-image each.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kOutdoorReminderSize = 28;
inline constexpr int32_t kOutdoorReminders = 5;

// Completes the record (out-of-range values take their defaults), packs it into the 9052 image
// of its number and seals it. false, image untouched, when the text holds a character the unit's
// table lacks. With mark, the reminder's row of the batch table is marked.
bool PrepareOutdoorReminder(OutdoorReminder& record, bool mark);

int32_t SendOutdoorReminder(CommParams& params, OutdoorReminder& record);
int32_t ReadOutdoorReminder(CommParams& params, int32_t number, OutdoorReminder& record);
// Fills the record from the received image of reminder `number`, whose payload starts at byte
// 6 + offset (offset 1 for an image loaded from the data file, which keeps the number first).
// false for a number outside 0..4 or an offset outside 0..1.
bool UnPackOutdoorReminder(int32_t number, OutdoorReminder& record, int32_t offset);
void ResetOutdoorReminder(int32_t number, OutdoorReminder& record);

}  // namespace quibra::settings

// Reminders: a date and time, a short text and a few coded values. The units that take one
// reminder per message get it in message 9013 and give it back in 9014, the slot 0..6 being the
// message parameter; the newer running and cycling units keep a list of seven in the reminders
// area of their memory, followed by a block that orders the enabled ones.
#pragma once

#include <array>
#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr int32_t kReminderSlots = 7;
inline constexpr size_t kReminderEntryBytes = 21;
inline constexpr size_t kReminderListBytes = kReminderSlots * kReminderEntryBytes;  // 147
inline constexpr size_t kReminderOrderBytes = 8;

// ---- one reminder per message ----------------------------------------------------------------

// Repairs the record (see records.h); false only when the text holds a character that device
// table 0 lacks.
bool CheckReminder(Reminder& record);
// Checks the record, packs it into the 9013 image of its slot and seals it; with mark, the
// status of message 9011 + slot is set to 20004. false when the check fails (image untouched).
bool PrepareReminder(Reminder& record, bool mark);
int32_t SendReminder(CommParams& params, Reminder& record);
// 0 for a slot outside 0..6 (nothing sent) or a failed exchange.
int32_t ReadReminder(CommParams& params, int32_t slot, Reminder& record);
// Fills the record from the 9014 image of the slot; with twelve_hour, the hour byte is in
// 12-hour form with the PM bit. Returns 1.
int32_t UnPackReminder(int32_t slot, Reminder& record, bool twelve_hour);
void ResetReminder(int32_t slot, Reminder& record);

// ---- the list of the newer units -----------------------------------------------------------

// Repairs every entry in place (nothing makes it fail).
void CheckReminderList(PrvcReminderList& list);
// The reminders area and the order block as the unit keeps them, from a checked list.
std::array<uint8_t, kReminderListBytes> PackReminderList(const PrvcReminderList& list);
std::array<uint8_t, kReminderOrderBytes> PackReminderOrder(const PrvcReminderList& list);
// Decodes every entry with a valid date into the list (its slot is its place); entries with an
// invalid date are left as they were.
void UnpackReminderList(const std::array<uint8_t, kReminderListBytes>& area,
                        PrvcReminderList& list);

// Checks the list and writes it, then the order block, then finishes the write (state byte,
// memory restore). 1 / 0; with ReadFromDataFile 1 at once.
int32_t SendRemindersPrvc(CommParams& params, PrvcReminderList& list);
// Reads the list and checks it; 1 whether or not the unit answered.
int32_t ReadRemindersPrvc(CommParams& params, PrvcReminderList& list);

}  // namespace quibra::prvc

// The watch settings of the running and cycling units: the clock (always the PC's), the alarm and
// an event date with a name. The older units of the family (28..32) take them in one message,
// 9077 or 9084, over infrared or by sound; the newer ones (33..38) in 9091 and 9092, after which
// the logo is written back and the unit restores its working memory, and they are read straight
// from the watch area of their memory. (This lives with the settings, not with the unit family,
// because the write-back goes through the logo transfer.)
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

// 1 / 0. A field the checks refuse fails the send before anything is sent, except the event
// checks of the newer units, which follow 9091 (the unit then has the new clock only). Date
// faults set error code 102.
int32_t SendPrvcWatchSettings(CommParams& params, PrvcWatchSettings& record);

// Reads the watch area of a newer unit into the cleared record; returns 1 whether or not the
// unit answered (a failed read leaves the record cleared).
int32_t ReadPrvcWatchSettings(CommParams& params, PrvcWatchSettings& record);

}  // namespace quibra::settings

// The display layouts of the running and cycling units: sets of six on/off switches and lists of
// display identifiers, kept in the unit's display area (its address comes from the
// identification). Type 38 keeps them in one block; the other types in four places.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

// Type 38. The write fails (0, nothing sent) unless params.MonitorType is 38, a type 38 unit's
// display area is known and every switch is 0 or 1. A unit of variant 3 or more also takes the
// extra groups, which first receive the first 24 class-2 identifiers except those that are 125.
// After the write the unit takes it (state byte copy, memory restore). 0 when an exchange
// failed.
int32_t WriteDisplaysPR9W(CommParams& params, DisplaysPR9W& record);
// Clears the record and, for params.MonitorType 38, fills it from the unit. 0 with the record
// untouched when the exchange failed.
int32_t ReadDisplaysPR9W(CommParams& params, DisplaysPR9W& record);

// Types 33..37: the switches, then the three identifier groups, each its own write, then the
// memory restore. 0 with nothing sent for another type, an unknown display area or a switch
// other than 0 or 1; 0 when an exchange failed (the unit keeps the groups written before).
int32_t WriteDisplaysOther(CommParams& params, const DisplaysOther& record);
// 0 with the record untouched for another type or when the exchange failed.
int32_t ReadDisplaysOther(CommParams& params, DisplaysOther& record);

}  // namespace quibra::prvc

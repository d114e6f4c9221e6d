// The name fix of the type 22 units in hardware variant 3: these units take the first two
// characters of the user's name from a memory block of their own (block 51), written with a
// raw block write after the user settings.
#pragma once

#include <cstdint>

namespace quibra::settings {

inline constexpr int32_t kNameFixBlock = 51;

// Writes the device codes (table 0; the device space for a missing character) of the first two
// characters of the name into block 51 of a type 22 unit and sends it with 9007: over infrared
// when link_type is nonzero, else by sound or data file, with the progress dialog. 1 when the
// delivery succeeded. Selects type 22 for the block layouts.
int32_t K55Tm3NameUpdFix(int32_t link_type, const char* name);

}  // namespace quibra::settings

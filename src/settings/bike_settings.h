// The bikes of a unit with cycling functions: a short name, the wheel size, four options and
// three further numbers per bike, and which bike is in use. Most units take them in message 9019
// and give them in 9020; units of monitor type 32 take a shorter layout in 9108, which they do
// not give back.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kBikeSettingsSize = 160;
// The LayoutType that selects the message-9108 layout.
inline constexpr int32_t kBikeLayout9108 = 32;

// Checks and completes bikes 0 and 1, packs the image of the record's layout and seals it.
// false for a failing check; the image is then untouched.
bool PrepareBikeSettings(BikeSettings& record);

// Send: infrared, sound or data file. By sound, the 9108 layout with SendTwice set goes a second
// time, 1 s later, with the flag clear in the image.
int32_t SendBikeSettings(CommParams& params, BikeSettings& record);
// Read with message 9020; 0 when the transfer fails (the record is then untouched).
int32_t ReadBikeSettings(CommParams& params, BikeSettings& record);
// Fills the record from the 9020 image.
void UnPackBikeSettings(BikeSettings& record);
void ResetBikeSettings(BikeSettings& record);

}  // namespace quibra::settings

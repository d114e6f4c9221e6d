// The user settings of the outdoor units: personal data, three sets of heart-rate limits, a
// timer, two altitude values and option bits, written with message 9042 and read with 9043.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kTrkUserSettingsSize = 164;

// Checks and completes the record in place: out-of-range values take their defaults, the
// values kept in two units are derived one from the other. false when a field fails; the fields
// after it stay as they were.
bool CheckTrkUserSettings(TrkUserSettings& record);

// Checks, packs into the 9042 image and seals it. false, image untouched, when the check fails.
bool PrepareTrkUserSettings(TrkUserSettings& record);

int32_t SendTrkUserSettings(CommParams& params, TrkUserSettings& record);
int32_t ReadTrkUserSettings(CommParams& params, TrkUserSettings& record);
// Fills the record from the 9043 image, then checks it: the check's result.
bool UnPackTrkUserSettings(TrkUserSettings& record);
void ResetTrkUserSettings(TrkUserSettings& record);

// An altitude in feet as the unit keeps it, and the metres of one (rounded half up, toward
// zero); the route points take their altitudes the same way.
int32_t FeetToMetres(int32_t feet);
int32_t MetresToFeet(int32_t metres);
// Altitudes travel as feet + 8192 in two bytes, low byte first (the high byte's bit 7 unused).
inline constexpr int32_t kAltitudeBias = 8192;

}  // namespace quibra::settings

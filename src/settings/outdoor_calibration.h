// The altitude calibration route of the outdoor units: twenty named points with a known
// altitude each, written with message 9044 and read with 9045, one sub-image per point.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kCalibPointSize = 28;
inline constexpr int32_t kCalibPoints = 20;

// Checks and completes the point (the altitude in the other unit, the name in capitals; an
// unused point loses its altitude and name), packs it into the 9044 image of its number and
// seals it. false, image untouched, for a number, flag, altitude or name the unit cannot take.
bool PrepareCalibPoint(OutdoorCalibPoint& record);

int32_t SendCalibPoint(CommParams& params, OutdoorCalibPoint& record);
int32_t ReadCalibPoint(CommParams& params, int32_t point, OutdoorCalibPoint& record);
// Fills the record from the received image of the point (a read's answer or what the data file
// gave, which have one layout). false for a point outside 0..19.
bool UnPackCalibPoint(int32_t point, OutdoorCalibPoint& record);

}  // namespace quibra::settings

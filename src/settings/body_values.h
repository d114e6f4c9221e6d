// The personal values that the user settings of every unit family check the same way: the
// birth date's range, the maximum heart rate from the age, and height and weight in both units.
#pragma once

#include <cstdint>

namespace quibra::settings {

inline constexpr double kKgPerLb = 0.4536;
// The earliest birth year the units take; a two-digit year below it is of the next century.
inline constexpr int32_t kFirstBirthYear = 1921;

// A valid date (codec::IsValidDate) whose year before 1921 becomes 1921, within 19210101 ..
// 20201231. false when it is none; the 1921 change is made in place either way.
bool CompleteBirthDate(int32_t& birth_date);

// 220 minus the age in whole years on the PC's date.
int32_t MaxHeartRateForAge(int32_t birth_date);

// Feet and inches of a height in centimetres (12 inches carry into a foot).
void HeightFromCentimetres(int32_t centimetres, int32_t& feet, int32_t& inches);
// Centimetres of a height in feet and inches, each term rounded by itself.
int32_t CentimetresFromHeight(int32_t feet, int32_t inches);

}  // namespace quibra::settings

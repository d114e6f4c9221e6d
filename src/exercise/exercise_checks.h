// What keeps impossible recorded values out of a decoded exercise. A recording received with the
// wrong unit type, or a memory with a flipped bit, would otherwise decode into a file that looks
// sound ("Date=20261157"): its start date, its time of day and its length are checked, and an
// exercise that fails is not decoded. The reason reaches the application as an error code and as
// the failure text "exercise 3: bad start date (month 57)".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quibra::exercise {

// An impossible field: the error code it sets and what is wrong with it.
struct BadField {
  int32_t error_code;
  std::string what;
};

// Checks a start date (year with its century) and time of day; nothing when both can be true.
std::optional<BadField> CheckStart(int32_t year, int32_t month, int32_t day, int32_t hour,
                                   int32_t minute, int32_t second);

std::optional<BadField> CheckStartTime(int32_t hour, int32_t minute, int32_t second);

// An exercise whose recorded length runs past the end of the image (or is shorter than its own
// header).
BadField BadLength(int32_t length);

// Gives up exercise `index` (0-based; the text counts from 1): sets the error code and the
// failure text and returns 0, the decoders' result for an exercise that was not decoded.
int32_t RejectExercise(int32_t index, const BadField& bad);

// A decode starts without a reason left from the one before.
void ClearRejection();

}  // namespace quibra::exercise

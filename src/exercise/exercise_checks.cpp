#include "exercise/exercise_checks.h"

#include "codec/dates.h"
#include "frame/comm_params.h"
#include "frame/failure_text.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kHoursPerDay = 24;
constexpr int32_t kMinutesPerHour = 60;
constexpr int32_t kSecondsPerMinute = 60;
constexpr int32_t kMonthsPerYear = 12;

BadField Bad(int32_t code, const char* field, const char* unit, int32_t value) {
  return {code, std::string("bad ") + field + " (" + unit + " " + std::to_string(value) + ")"};
}

}  // namespace

std::optional<BadField> CheckStart(int32_t year, int32_t month, int32_t day, int32_t hour,
                                   int32_t minute, int32_t second) {
  if (month < 1 || month > kMonthsPerYear)
    return Bad(frame::kErrorDate, "start date", "month", month);
  if (!codec::IsCalendarDay(day, month, year))
    return Bad(frame::kErrorDate, "start date", "day", day);
  return CheckStartTime(hour, minute, second);
}

std::optional<BadField> CheckStartTime(int32_t hour, int32_t minute, int32_t second) {
  if (hour < 0 || hour >= kHoursPerDay)
    return Bad(frame::kErrorTimeOfDay, "start time", "hour", hour);
  if (minute < 0 || minute >= kMinutesPerHour)
    return Bad(frame::kErrorTimeOfDay, "start time", "minute", minute);
  if (second < 0 || second >= kSecondsPerMinute)
    return Bad(frame::kErrorTimeOfDay, "start time", "second", second);
  return std::nullopt;
}

BadField BadLength(int32_t length) {
  return Bad(frame::kErrorExerciseLength, "length", "bytes", length);
}

int32_t RejectExercise(int32_t index, const BadField& bad) {
  frame::SetErrorCode(bad.error_code);
  frame::SetFailureText("exercise " + std::to_string(index + 1) + ": " + bad.what);
  return 0;
}

void ClearRejection() {
  frame::SetFailureText({});
}

}  // namespace quibra::exercise

#include "settings/exercise_limits.h"

#include <cstring>

#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

enum LimitsByte : int32_t { kLower = 5, kUpper = 6, kOn = 7 };
constexpr int32_t kReadShift = 1;

constexpr int32_t kHighest = 240;
constexpr int32_t kUpperDefault = 180;
constexpr int32_t kLowerDefault = 135;
constexpr int32_t kMinimumGap = 30;

void Complete(ExerciseLimits& r) {
  if (r.Size == 0) r.Size = kLimitsSize;
  if (!IsFlag(r.LimitsOn)) r.LimitsOn = 0;
  r.UpperLimit = InRangeOr(r.UpperLimit, 10, kHighest, kUpperDefault);
  r.LowerLimit = InRangeOr(r.LowerLimit, 10, kHighest, kLowerDefault);
  if (r.LowerLimit < r.UpperLimit) return;
  if (r.LowerLimit == kHighest) {
    r.UpperLimit = kUpperDefault;
    r.LowerLimit = kLowerDefault;
  } else {
    r.UpperLimit = r.LowerLimit + kMinimumGap < kHighest ? r.LowerLimit + kMinimumGap : kHighest;
  }
}

}  // namespace

void PrepareExerciseLimits(ExerciseLimits& record) {
  Complete(record);
  const ImageWriter image(protocol::msg::kLimitsWrite, 0);
  image.byte(kLower, record.LowerLimit);
  image.byte(kUpper, record.UpperLimit);
  image.byte(kOn, record.LimitsOn);
  protocol::SealMessageImage(protocol::msg::kLimitsWrite, 0, 0);
}

void UnPackExerciseLimits(ExerciseLimits& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kLimitsSize;
  const ImageReader image(protocol::msg::kLimitsWrite, 0);
  r.LowerLimit = image.byte(kLower + kReadShift);
  r.UpperLimit = image.byte(kUpper + kReadShift);
  r.LimitsOn = image.byte(kOn + kReadShift);
}

void ResetExerciseLimits(ExerciseLimits& r) {
  r.Size = kLimitsSize;
  r.LimitsOn = 1;
  r.UpperLimit = 160;
  r.LowerLimit = 80;
}

int32_t SendExerciseLimits(CommParams& params, ExerciseLimits& record) {
  SendSteps steps;
  steps.write_message = protocol::msg::kLimitsWrite;
  steps.over_infrared = false;
  steps.prepare = [&] {
    PrepareExerciseLimits(record);
    return true;
  };
  steps.unpack_loaded = [&] {
    UnPackExerciseLimits(record);
    Complete(record);  // the checks again, over what the file gave
    return 1;
  };
  return SendSettings(params, steps);
}

}  // namespace quibra::settings

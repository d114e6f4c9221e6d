#include "settings/exercise_profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "frame/comm_params.h"
#include "frame/state_flags.h"
#include "protocol/engine.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

constexpr int32_t kPhaseCount = 6;
// Write-image layout: the number byte, eleven bytes per phase, then the name.
constexpr int32_t kNumberByte = 5;
constexpr int32_t kFirstPhase = 6;
constexpr int32_t kPhaseBytes = 11;
constexpr int32_t kNameByte = 72;
constexpr int32_t kReadShift = 1;

// Offsets within a phase's eleven bytes.
enum PhaseByte : int32_t {
  kDuration1 = 0,  // seconds, then minutes
  kLower = 2,
  kUpper = 3,
  kDuration3 = 4,  // seconds, then minutes
  kLevel3 = 6,
  kLevel1 = 7,
  kCount1 = 8,
  kModes = 9,
  kFlags = 10,
};
// Bits of a phase's flag byte.
enum PhaseBit : int { kBitPhaseOn = 0, kBitFlag1 = 1, kBitFlag2 = 2, kBitFlag3 = 3 };

// The batch rows a profile marks as read on IrDA sockets: 60 + 2n and 61 + 2n.
constexpr int kMarkedRowBase = 60;

// Phase values that take a default when out of range.
struct DefaultRule {
  int32_t ExercisePhase::*field;
  int32_t low;
  int32_t high;
  int32_t fallback;
};
constexpr DefaultRule kMode1Rule = {&ExercisePhase::Mode1, 0, 2, 0};
constexpr DefaultRule kCountRules[] = {
    {&ExercisePhase::Count1, 0, 30, 1},
    {&ExercisePhase::Duration1, 5, 5999, 120},
    {&ExercisePhase::Level1, 10, 240, 150},
};
constexpr DefaultRule kRecoveryRules[] = {
    {&ExercisePhase::Mode3, 0, 1, 0},
    {&ExercisePhase::Duration3, 0, 5999, 120},
    {&ExercisePhase::Level3, 10, 240, 140},
};

void Apply(ExercisePhase& phase, const DefaultRule& rule) {
  phase.*rule.field = InRangeOr(phase.*rule.field, rule.low, rule.high, rule.fallback);
}

// The phase fields in the order of the record; the first failure stops the checks.
bool CheckPhase(ExercisePhase& phase, const ExerciseProfile& r) {
  if (!IsFlag(phase.PhaseOn)) return false;
  if (phase.Flag1 == 0 && phase.Flag3 == 0) phase.PhaseOn = 0;
  if (!IsFlag(phase.Flag2)) return false;
  const LimitRule limits{r.LimitsInPercent != 0, r.PercentBase, 160, 80, false};
  if (!CheckLimitPair(phase.UpperLimit, phase.LowerLimit, limits)) return false;
  if (!IsFlag(phase.Flag1)) return false;
  Apply(phase, kMode1Rule);
  if (phase.Flag1 == 0) phase.Mode1 = 0;
  for (const DefaultRule& rule : kCountRules)
    Apply(phase, rule);
  if (!IsFlag(phase.Flag3)) return false;
  for (const DefaultRule& rule : kRecoveryRules)
    Apply(phase, rule);
  if (phase.Flag3 != 0 && phase.Mode3 == 0 && phase.Duration3 < 5) phase.Duration3 = 120;
  return true;
}

bool CheckAndComplete(ExerciseProfile& r) {
  if (r.Size == 0) r.Size = kProfileSize;
  r.ProfileNumber = InRangeOr(r.ProfileNumber, 1, kProfileCount, 1);
  if (!IsFlag(r.ProfileOption)) return false;
  if (!NameFitsTable0(r.ProfileName, sizeof r.ProfileName)) return false;
  for (ExercisePhase& phase : r.Phases) {
    if (!CheckPhase(phase, r)) return false;
  }
  return true;
}

void Pack(ExerciseProfile& r) {
  if (r.LimitsInPercent != 0) {
    // The unit takes beats per minute: the record then holds what was sent.
    for (ExercisePhase& phase : r.Phases) {
      phase.UpperLimit = PercentToHeartRate(phase.UpperLimit, r.PercentBase);
      phase.LowerLimit = PercentToHeartRate(phase.LowerLimit, r.PercentBase);
    }
  }
  ClearAfterTerminator(r.ProfileName);
  const ImageWriter image(protocol::msg::kProfileWrite, r.ProfileNumber);
  image.nibbles(kNumberByte, r.ProfileOption != 0 ? r.ProfileNumber : 0, r.ProfileNumber);
  for (int32_t p = 0; p < kPhaseCount; ++p) {
    const ExercisePhase& phase = r.Phases[p];
    const int32_t at = kFirstPhase + kPhaseBytes * p;
    PackMinutesSeconds(image, at + kDuration1, phase.Duration1);
    image.byte(at + kLower, phase.LowerLimit);
    image.byte(at + kUpper, phase.UpperLimit);
    PackMinutesSeconds(image, at + kDuration3, phase.Duration3);
    image.byte(at + kLevel3, phase.Level3);
    image.byte(at + kLevel1, phase.Level1);
    image.bcd(at + kCount1, phase.Count1);
    image.nibbles(at + kModes, phase.Mode3, phase.Mode1);
    image.byte(at + kFlags, phase.PhaseOn << kBitPhaseOn | phase.Flag1 << kBitFlag1 |
                                phase.Flag2 << kBitFlag2 | phase.Flag3 << kBitFlag3);
  }
  PackUnitName(image, kNameByte, r.ProfileName);
}

}  // namespace

bool PrepareExerciseProfile(ExerciseProfile& record) {
  if (!CheckAndComplete(record)) return false;
  Pack(record);
  protocol::SealMessageImage(protocol::msg::kProfileWrite, record.ProfileNumber, 0);
  if (frame::GetStateFlag(frame::kFlagIrdaSockets) != 0) {
    const int n = record.ProfileNumber;
    protocol::MarkBatchRowRead(kMarkedRowBase + 2 * n);
    protocol::MarkBatchRowRead(kMarkedRowBase + 2 * n + 1);
  }
  return true;
}

void UnPackExerciseProfile(int32_t number, ExerciseProfile& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kProfileSize;
  r.ProfileNumber = number;
  const ImageReader image(protocol::msg::kProfileRead, number);
  r.ProfileOption = image.high(kNumberByte + kReadShift);
  for (int32_t p = 0; p < kPhaseCount; ++p) {
    ExercisePhase& phase = r.Phases[p];
    const int32_t at = kFirstPhase + kPhaseBytes * p + kReadShift;
    phase.Duration1 = UnpackMinutesSeconds(image, at + kDuration1);
    phase.LowerLimit = image.byte(at + kLower);
    phase.UpperLimit = image.byte(at + kUpper);
    phase.Duration3 = UnpackMinutesSeconds(image, at + kDuration3);
    phase.Level3 = image.byte(at + kLevel3);
    phase.Level1 = image.byte(at + kLevel1);
    phase.Count1 = image.bcd(at + kCount1);
    phase.Mode3 = image.high(at + kModes);
    phase.Mode1 = image.low(at + kModes);
    phase.PhaseOn = image.bit(at + kFlags, kBitPhaseOn) ? 1 : 0;
    phase.Flag1 = image.bit(at + kFlags, kBitFlag1) ? 1 : 0;
    phase.Flag2 = image.bit(at + kFlags, kBitFlag2) ? 1 : 0;
    phase.Flag3 = image.bit(at + kFlags, kBitFlag3) ? 1 : 0;
  }
  UnpackUnitName(image, kNameByte + kReadShift, r.ProfileName);
}

void ResetExerciseProfile(int32_t number, ExerciseProfile& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kProfileSize;
  r.ProfileNumber = number;
  // "Profile1": eight characters filling the field, without a terminator.
  char name[32];
  std::snprintf(name, sizeof name, "Profile%d", static_cast<int>(number));
  std::memcpy(r.ProfileName, name, std::min(sizeof r.ProfileName, std::strlen(name)));
  for (ExercisePhase& phase : r.Phases) {
    phase = ExercisePhase{1, 1, 160, 140, 1, 1, 3, 180, 170, 1, 0, 60, 120};
  }
}

int32_t SendExerciseProfile(CommParams& params, ExerciseProfile& record) {
  SendSteps steps;
  steps.write_message = protocol::msg::kProfileWrite;
  steps.prepare = [&] { return PrepareExerciseProfile(record); };
  // Read from the data file, the record has not been through Prepare: its number is taken as
  // Prepare would take it.
  steps.param = [&] { return InRangeOr(record.ProfileNumber, 1, kProfileCount, 1); };
  steps.unpack_loaded = [&] {
    UnPackExerciseProfile(InRangeOr(record.ProfileNumber, 1, kProfileCount, 1), record);
    return CheckAndComplete(record) ? 1 : 0;  // the checks again, over what the file gave
  };
  return SendSettings(params, steps);
}

int32_t ReadExerciseProfile(CommParams& params, int32_t number, ExerciseProfile& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  if (!InRange(number, 1, kProfileCount)) return 0;
  return ReadSettings(params, protocol::msg::kProfileRead, number,
                      [&] { UnPackExerciseProfile(number, record); });
}

}  // namespace quibra::settings

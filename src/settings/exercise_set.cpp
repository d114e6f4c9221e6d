#include "settings/exercise_set.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "frame/comm_params.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

using Field = int32_t ExerciseSet::*;

// The messages of the two layouts. Write and read of one layout share one image, so the
// received bytes are read under the write message's id.
struct SetLayout {
  int32_t write;
  int32_t read;
};
constexpr SetLayout kLayouts[] = {
    {protocol::msg::kExerciseSetWrite, protocol::msg::kExerciseSetRead},
    {protocol::msg::kExerciseSetWriteLong, protocol::msg::kExerciseSetReadLong},
};

std::optional<SetLayout> LayoutOf(int32_t variant) {
  if (variant < 0 || variant >= static_cast<int32_t>(std::size(kLayouts))) return std::nullopt;
  return kLayouts[variant];
}

struct Timer {
  Field on;
  Field seconds;
};
constexpr Timer kTimers[] = {{&ExerciseSet::Timer1On, &ExerciseSet::Timer1},
                             {&ExerciseSet::Timer2On, &ExerciseSet::Timer2},
                             {&ExerciseSet::Timer3On, &ExerciseSet::Timer3}};

struct LimitPair {
  Field on;
  Field upper;
  Field lower;
};
constexpr LimitPair kLimitPairs[] = {
    {&ExerciseSet::Limits1On, &ExerciseSet::Upper1, &ExerciseSet::Lower1},
    {&ExerciseSet::Limits2On, &ExerciseSet::Upper2, &ExerciseSet::Lower2},
    {&ExerciseSet::Limits3On, &ExerciseSet::Upper3, &ExerciseSet::Lower3}};

struct Window {
  Field start;
  Field end;
};
constexpr Window kWindows[] = {{&ExerciseSet::Window1Start, &ExerciseSet::Window1End},
                               {&ExerciseSet::Window2Start, &ExerciseSet::Window2End},
                               {&ExerciseSet::Window3Start, &ExerciseSet::Window3End},
                               {&ExerciseSet::Window4Start, &ExerciseSet::Window4End}};

// Write-image layout; the read image carries each byte one index later.
enum SetByte : int32_t {
  kNumber = 5,
  kName = 6,
  kTimerBytes = 13,  // seconds and minutes of each timer
  kLimitBytes = 19,  // lower and upper of each pair
  kRecoveryTime = 25,
  kRecoveryLevel = 27,
  kRepeatLevel = 28,
  kRepeatCount = 29,
  kModes = 30,
  kSwitches = 31,
  kKilometres = 32,
  kMiles = 35,
  kExtra = 38,
  kExtraPairs = 39,
  kExtraByteA = 47,
  kExtraByteB = 48,
  kWindowBytes = 49,  // centre hour, centre minute, half-width of each window
};
constexpr int32_t kReadShift = 1;

// Bits of the switch byte.
enum SwitchBit : int {
  kBitTimer1 = 0,
  kBitRecovery = 3,
  kBitLimits1 = 4,
  kBitRepeat = 7,
};

constexpr int32_t kTimerDefault = 120;
constexpr double kMilesPerKm = 0.6213712;
constexpr double kKmPerMile = 1.609344;
constexpr int32_t kLongestDistance = 999;
// Tenths of a kilometre and of a mile that stand in for an unusable distance.
constexpr int32_t kFallbackKm = 16;
constexpr int32_t kFallbackMi = 10;
constexpr int32_t kWidestHalfWindow = 60;

constexpr int32_t kRepeatByHeartRate = 2;
constexpr int32_t kRepeatByTimer2 = 1;
constexpr int32_t kRepeatByDistance = 3;
constexpr int32_t kRecoveryByTime = 0;
constexpr int32_t kRecoveryByHeartRate = 1;
constexpr int32_t kRecoveryByDistance = 2;

// One distance is given, in kilometres or (when those are 0) in miles; the other follows.
void CompleteDistances(int32_t& km, int32_t& mi) {
  if (km != 0) {
    mi = RoundHalfUp(km * kMilesPerKm);
  } else {
    km = RoundHalfUp(mi * kKmPerMile);
  }
  if (km > kLongestDistance) km = kLongestDistance;
  if (km < 0) km = kFallbackKm;
  if (mi > kLongestDistance) mi = kLongestDistance;
  if (mi < 0) mi = kFallbackMi;
}

bool CheckAndComplete(ExerciseSet& r, bool lenient) {
  if (r.Size == 0) r.Size = kExerciseSetSize;
  r.SetNumber = InRangeOr(r.SetNumber, 0, kExerciseSetCount, 1);
  if (!IsFlag(r.SetOption)) return false;
  if (!NameFitsTable0(r.SetName, sizeof r.SetName)) return false;
  for (const Timer& t : kTimers) {
    if (!IsFlag(r.*t.on)) return false;
  }
  if (r.RepeatOn == 0) {
    // Without repetition the timers run in order: none may be on after one that is off.
    if ((r.Timer1On == 0 && (r.Timer2On != 0 || r.Timer3On != 0)) ||
        (r.Timer2On == 0 && r.Timer3On != 0)) {
      return false;
    }
  }
  for (const Timer& t : kTimers) {
    if (InRange(r.*t.seconds, 5, 5999)) continue;
    if (r.*t.on != 0 && !lenient) return false;
    r.*t.seconds = kTimerDefault;
  }
  for (const LimitPair& pair : kLimitPairs) {
    if (!IsFlag(r.*pair.on)) return false;
  }
  const LimitRule limits{r.LimitsInPercent != 0, r.PercentBase, 160, 80, true};
  for (const LimitPair& pair : kLimitPairs) {
    if (!CheckLimitPair(r.*pair.upper, r.*pair.lower, limits)) return false;
  }
  if (!IsFlag(r.RepeatOn)) return false;
  r.RepeatCount = InRangeOr(r.RepeatCount, 0, 30, 1);
  r.RepeatMode = InRangeOr(r.RepeatMode, 0, 3, 0);
  if (!InRange(r.RepeatLevel, 10, 240)) {
    if (r.RepeatMode == kRepeatByHeartRate && !lenient) return false;
    r.RepeatLevel = 150;
  }
  CompleteDistances(r.RepeatDistanceKm, r.RepeatDistanceMi);
  if (r.RepeatOn != 0) {
    // Repeating by the second timer needs it; the timer checks above left it at 5 s or more.
    if (r.RepeatMode == kRepeatByTimer2) r.Timer2On = 1;
    if (r.RepeatMode == kRepeatByDistance && r.RepeatDistanceKm == 0) return false;
  } else {
    r.RepeatMode = 0;
  }
  if (!IsFlag(r.RecoveryOn)) return false;
  r.RecoveryMode = InRangeOr(r.RecoveryMode, 0, 2, 0);
  r.RecoveryTime = InRangeOr(r.RecoveryTime, 0, 5999, kTimerDefault);
  if (!InRange(r.RecoveryLevel, 10, 240)) {
    if (!lenient && r.RecoveryMode == kRecoveryByHeartRate) return false;
    r.RecoveryLevel = 140;
  }
  CompleteDistances(r.RecoveryDistanceKm, r.RecoveryDistanceMi);
  if (r.RecoveryMode == kRecoveryByTime && r.RecoveryTime < 5) {
    if (r.RecoveryOn != 0) return false;
    r.RecoveryTime = 60;
  }
  if (r.RecoveryMode == kRecoveryByDistance && r.RecoveryDistanceKm == 0) {
    if (r.RecoveryOn != 0) return false;
    r.RecoveryDistanceKm = kFallbackKm;
    r.RecoveryDistanceMi = kFallbackMi;
  }
  return true;
}

// Three bytes carry a repeat and a recovery distance of up to three digits each.
void PackDistances(const ImageWriter& image, int32_t at, int32_t repeat, int32_t recovery) {
  image.nibbles(at, repeat / 10 % 10, repeat % 10);
  image.nibbles(at + 1, recovery % 10, repeat / 100 % 10);
  image.nibbles(at + 2, recovery / 100 % 10, recovery / 10 % 10);
}

void UnpackDistances(const ImageReader& image, int32_t at, int32_t& repeat, int32_t& recovery) {
  repeat = image.low(at + 1) * 100 + image.high(at) * 10 + image.low(at);
  recovery = image.high(at + 2) * 100 + image.low(at + 2) * 10 + image.high(at + 1);
  if (!InRange(recovery, 0, kLongestDistance)) recovery = 0;
}

void Pack(ExerciseSet& r, int32_t write_message) {
  if (r.LimitsInPercent != 0) {
    // The unit takes beats per minute: the record then holds what was sent.
    for (const LimitPair& pair : kLimitPairs) {
      r.*pair.upper = PercentToHeartRate(r.*pair.upper, r.PercentBase);
      r.*pair.lower = PercentToHeartRate(r.*pair.lower, r.PercentBase);
    }
  }
  ClearAfterTerminator(r.SetName);
  const ImageWriter image(write_message, r.SetNumber);
  image.nibbles(kNumber, r.SetOption != 0 ? r.SetNumber : 0, r.SetNumber);
  PackUnitName(image, kName, r.SetName);
  int32_t switches = 0;
  for (int32_t i = 0; i < 3; ++i) {
    PackMinutesSeconds(image, kTimerBytes + 2 * i, r.*kTimers[i].seconds);
    image.byte(kLimitBytes + 2 * i, r.*kLimitPairs[i].lower);
    image.byte(kLimitBytes + 2 * i + 1, r.*kLimitPairs[i].upper);
    switches |= (r.*kTimers[i].on & 1) << (kBitTimer1 + i);
    switches |= (r.*kLimitPairs[i].on & 1) << (kBitLimits1 + i);
  }
  switches |= (r.RecoveryOn & 1) << kBitRecovery | (r.RepeatOn & 1) << kBitRepeat;
  PackMinutesSeconds(image, kRecoveryTime, r.RecoveryTime);
  image.byte(kRecoveryLevel, r.RecoveryLevel);
  image.byte(kRepeatLevel, r.RepeatLevel);
  image.bcd(kRepeatCount, r.RepeatCount);
  image.nibbles(kModes, r.RecoveryMode, r.RepeatMode);
  image.byte(kSwitches, switches);
  PackDistances(image, kKilometres, r.RepeatDistanceKm, r.RecoveryDistanceKm);
  PackDistances(image, kMiles, r.RepeatDistanceMi, r.RecoveryDistanceMi);
  // Both layouts carry the further fields; the shorter one's checksum covers part of them.
  // Unchecked caller fields: summed without overflow, the byte keeps the low 8 bits as before.
  image.byte(kExtra, static_cast<int32_t>((static_cast<uint32_t>(r.ExtraBit) * 16u +
                                           static_cast<uint32_t>(r.ExtraLow)) &
                                          0xFFu));
  for (int32_t i = 0; i < 8; ++i)
    image.byte(kExtraPairs + i, r.ExtraPairs[i]);
  image.byte(kExtraByteA, r.ExtraByteA);
  image.byte(kExtraByteB, r.ExtraByteB);
  for (int32_t i = 0; i < 4; ++i) {
    // The window's ends are the caller's, unchecked: their difference and the centre are taken
    // in 64 bits.
    const int32_t start = r.*kWindows[i].start;
    int32_t half = RoundHalfUp((static_cast<double>(r.*kWindows[i].end) - start) / 2.0);
    if (half > kWidestHalfWindow) half = kWidestHalfWindow;
    const int64_t centre = int64_t{start} + half;
    image.bcd(kWindowBytes + 3 * i, static_cast<int32_t>(centre / 60));
    image.bcd(kWindowBytes + 3 * i + 1, static_cast<int32_t>(centre % 60));
    image.bcd(kWindowBytes + 3 * i + 2, half);
  }
}

void UnpackFurtherFields(const ImageReader& image, ExerciseSet& r) {
  auto at = [](int32_t write_index) { return write_index + kReadShift; };
  r.ExtraBit = image.bit(at(kExtra), 4) ? 1 : 0;
  r.ExtraLow = image.byte(at(kExtra)) & 0x03;
  for (int32_t i = 0; i < 8; ++i)
    r.ExtraPairs[i] = image.byte(at(kExtraPairs + i));
  r.ExtraByteA = image.byte(at(kExtraByteA));
  r.ExtraByteB = image.byte(at(kExtraByteB));
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t first = at(kWindowBytes + 3 * i);
    const int32_t centre = image.bcd(first) * 60 + image.bcd(first + 1);
    const int32_t half = image.bcd(first + 2);
    r.*kWindows[i].start = centre - half;
    r.*kWindows[i].end = centre + half;
  }
}

int32_t NumberForSend(const ExerciseSet& r) {
  return InRangeOr(r.SetNumber, 0, kExerciseSetCount, 1);
}

}  // namespace

bool PrepareExerciseSet(ExerciseSet& record, bool lenient, int32_t variant) {
  const std::optional<SetLayout> layout = LayoutOf(variant);
  if (!layout || !CheckAndComplete(record, lenient)) return false;
  Pack(record, layout->write);
  protocol::SealMessageImage(layout->write, record.SetNumber, variant);
  return true;
}

bool UnPackExerciseSet(int32_t number, ExerciseSet& r, int32_t variant) {
  const std::optional<SetLayout> layout = LayoutOf(variant);
  if (!layout) return false;
  std::memset(&r, 0, sizeof r);
  r.Size = kExerciseSetSize;
  r.SetNumber = number;
  const ImageReader image(layout->write, number);
  auto at = [](int32_t write_index) { return write_index + kReadShift; };
  r.SetOption = image.high(at(kNumber));
  UnpackUnitName(image, at(kName), r.SetName);
  const int32_t switches = image.byte(at(kSwitches));
  for (int32_t i = 0; i < 3; ++i) {
    r.*kTimers[i].seconds = UnpackMinutesSeconds(image, at(kTimerBytes + 2 * i));
    r.*kLimitPairs[i].lower = image.byte(at(kLimitBytes + 2 * i));
    r.*kLimitPairs[i].upper = image.byte(at(kLimitBytes + 2 * i + 1));
    r.*kTimers[i].on = (switches >> (kBitTimer1 + i)) & 1;
    r.*kLimitPairs[i].on = (switches >> (kBitLimits1 + i)) & 1;
  }
  r.RecoveryOn = (switches >> kBitRecovery) & 1;
  r.RepeatOn = (switches >> kBitRepeat) & 1;
  r.RecoveryTime = UnpackMinutesSeconds(image, at(kRecoveryTime));
  r.RecoveryLevel = image.byte(at(kRecoveryLevel));
  r.RepeatLevel = image.byte(at(kRepeatLevel));
  r.RepeatCount = image.bcd(at(kRepeatCount));
  r.RecoveryMode = image.high(at(kModes));
  r.RepeatMode = image.low(at(kModes));
  UnpackDistances(image, at(kKilometres), r.RepeatDistanceKm, r.RecoveryDistanceKm);
  UnpackDistances(image, at(kMiles), r.RepeatDistanceMi, r.RecoveryDistanceMi);
  if (variant == 1) UnpackFurtherFields(image, r);
  return true;
}

void ResetExerciseSet(int32_t number, ExerciseSet& r, int32_t monitor_type) {
  std::memset(&r, 0, sizeof r);
  r.Size = kExerciseSetSize;
  r.SetNumber = monitor_type == 13 ? 1 : number;
  r.SetOption = 1;
  // "ExeSet1": the name is formatted with the given number, as many characters as fit.
  char name[32];
  std::snprintf(name, sizeof name, "ExeSet%d", static_cast<int>(number));
  std::memcpy(r.SetName, name, std::min(sizeof r.SetName, std::strlen(name)));
  r.Timer1On = 1;
  r.Timer1 = 600;
  r.Timer2On = 1;
  r.Timer2 = 300;
  r.Timer3On = 1;
  r.Timer3 = 600;
  r.Limits1On = 1;
  r.Upper1 = 160;
  r.Lower1 = 140;
  r.Limits2On = 1;
  r.Upper2 = 180;
  r.Lower2 = 150;
  r.Limits3On = 1;
  r.Upper3 = 130;
  r.Lower3 = 90;
  r.RepeatOn = monitor_type == 13 ? 0 : 1;
  r.RepeatMode = 1;
  r.RepeatCount = 3;
  r.RepeatLevel = 170;
  r.RepeatDistanceKm = 10;
  r.RecoveryOn = 1;
  r.RecoveryTime = 60;
  r.RecoveryLevel = 120;
  r.RecoveryDistanceKm = 10;
  r.ExtraBit = 1;
  if (monitor_type == 22 || monitor_type == 23) {
    constexpr int32_t kPairs[8] = {60, 80, 60, 80, 60, 80, 60, 80};
    r.ExtraByteB = 240;
    r.ExtraByteA = 30;
    std::copy(std::begin(kPairs), std::end(kPairs), std::begin(r.ExtraPairs));
  }
}

int32_t SendExerciseSet(CommParams& params, ExerciseSet& record, int32_t variant) {
  const std::optional<SetLayout> layout = LayoutOf(variant);
  if (!layout) return 0;
  const bool lenient = params.LenientChecks != 0;
  SendSteps steps;
  steps.write_message = layout->write;
  steps.prepare = [&] { return PrepareExerciseSet(record, lenient, variant); };
  // Read from the data file, the record has not been through Prepare: its number is taken as
  // Prepare would take it.
  steps.param = [&] { return NumberForSend(record); };
  steps.unpack_loaded = [&] {
    UnPackExerciseSet(NumberForSend(record), record, variant);
    return CheckAndComplete(record, true) ? 1 : 0;  // the checks again, lenient
  };
  return SendSettings(params, steps);
}

int32_t ReadExerciseSet(CommParams& params, int32_t number, ExerciseSet& record, int32_t variant) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  const std::optional<SetLayout> layout = LayoutOf(variant);
  if (!layout || !InRange(number, 1, kExerciseSetCount)) return 0;
  return ReadSettings(params, layout->read, number,
                      [&] { UnPackExerciseSet(number, record, variant); });
}

}  // namespace quibra::settings

#include "settings/fitness_settings.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "codec/dates.h"
#include "exercise/j9_reads.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "platform/today.h"
#include "protocol/raw_memory.h"
#include "protocol/seal.h"
#include "settings/body_values.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

constexpr int32_t kUserShort = 9060;  // every fitness unit but types 30 and 32
constexpr int32_t kUserLong = 9078;
constexpr int32_t kExerciseMessage = 9064;
constexpr int32_t kMonitorMessage = 9059;
constexpr int32_t kClockMessage = 9062;
constexpr int32_t kImageParam = 1;
constexpr int32_t kPayload = 5;    // Prepare writes from image index 5
constexpr int32_t kLoadShift = 1;  // an image loaded from the data file lies one index later

// The user fields in the order of the two messages.
enum UserByte : uint8_t {
  kLbLow,
  kLbHigh,
  kHeight,
  kSex,
  kAge,
  kMaxHr,
  kVo2,
  kSecondary,
  kDay,
  kMonth,
  kYear,
  kLevel,
};
constexpr UserByte kShortOrder[] = {kLbLow, kLbHigh,    kHeight, kSex,   kAge,  kMaxHr,
                                    kVo2,   kSecondary, kDay,    kMonth, kYear, kLevel};
constexpr UserByte kLongOrder[] = {kLbLow, kLbHigh, kHeight, kDay,       kMonth, kYear,
                                   kSex,   kMaxHr,  kVo2,    kSecondary, kLevel};

// Index of a field in a message's order, from its first payload byte.
int32_t OffsetOf(int32_t message, UserByte field) {
  const UserByte* begin = message == kUserLong ? std::begin(kLongOrder) : std::begin(kShortOrder);
  const UserByte* end = message == kUserLong ? std::end(kLongOrder) : std::end(kShortOrder);
  for (const UserByte* it = begin; it != end; ++it) {
    if (*it == field) return static_cast<int32_t>(it - begin);
  }
  return -1;  // the age, which only the short layout carries
}

int32_t UserMessage(const FitnessUserSettings& r) {
  return r.UnitType == 30 || r.UnitType == 32 ? kUserLong : kUserShort;
}

bool CheckUser(FitnessUserSettings& r) {
  if (r.Size == 0) r.Size = kFitnessUserSize;
  if (r.WeightLb != 0) {
    r.WeightLb = InRangeOr(r.WeightLb, 44, 439, 140);
    r.WeightKg = RoundHalfUp(r.WeightLb * kKgPerLb);
  } else {
    if (r.WeightKg != 0) r.WeightKg = InRangeOr(r.WeightKg, 20, 199, 70);
    r.WeightLb = RoundHalfUp(r.WeightKg / kKgPerLb);
  }
  if (r.HeightCm != 0) {
    r.HeightCm = InRangeOr(r.HeightCm, 90, 210, 170);
    HeightFromCentimetres(r.HeightCm, r.HeightFeet, r.HeightInches);
  } else if (r.HeightFeet != 0 || r.HeightInches != 0) {
    r.HeightFeet = InRangeOr(r.HeightFeet, 2, 7, 5);
    r.HeightInches = InRangeOr(r.HeightInches, 0, 11, 8);
    r.HeightCm = CentimetresFromHeight(r.HeightFeet, r.HeightInches);
  }
  if (!CompleteBirthDate(r.BirthDate) || !IsFlag(r.Sex)) return false;
  r.Level = InRangeOr(r.Level, 0, 3, 1);
  if (!InRange(r.MaxHR, 100, 240)) r.MaxHR = MaxHeartRateForAge(r.BirthDate);
  if (!InRange(r.VO2max, 10, 95)) r.VO2max = r.Sex != 0 ? 36 : 45;
  r.SecondaryHR = InRangeOr(r.SecondaryHR, 30, 90, 60);
  return true;
}

void PackUser(const FitnessUserSettings& r, int32_t message) {
  const codec::DateParts birth = codec::SplitDate(r.BirthDate);
  int32_t year = birth.year - 1900;
  if (year >= 100) year -= 100;
  // The age in whole years, from the two dates taken as numbers.
  const int32_t age = (platform::Today() - r.BirthDate) / 10000;
  int32_t values[std::size(kShortOrder)] = {};
  values[kLbLow] = r.WeightLb & 0xFF;
  values[kLbHigh] = (r.WeightLb >> 8) & 0xFF;
  values[kHeight] = r.HeightCm;
  values[kSex] = r.Sex;
  values[kAge] = age;
  values[kMaxHr] = r.MaxHR;
  values[kVo2] = r.VO2max;
  values[kSecondary] = r.SecondaryHR;
  values[kDay] = birth.day;
  values[kMonth] = birth.month;
  values[kYear] = year;
  values[kLevel] = r.Level;
  const ImageWriter image(message, kImageParam);
  for (size_t field = 0; field < std::size(values); ++field) {
    const int32_t at = OffsetOf(message, static_cast<UserByte>(field));
    if (at >= 0) image.byte(kPayload + at, values[field]);
  }
}

// Fills the record from user bytes in the layout of `message` (byte(k) = its k-th payload
// byte), then runs the checks. The unit type stays the caller's: the bytes do not carry it.
int32_t UnpackUser(FitnessUserSettings& r, int32_t message, auto&& byte) {
  const int32_t unit_type = r.UnitType;
  std::memset(&r, 0, sizeof r);
  r.Size = kFitnessUserSize;
  r.UnitType = unit_type;
  const auto field = [&](UserByte f) { return byte(OffsetOf(message, f)); };
  r.WeightLb = field(kLbLow) + 256 * field(kLbHigh);
  r.WeightKg = RoundHalfUp(r.WeightLb * kKgPerLb);
  r.HeightCm = field(kHeight);
  if (r.HeightCm != 0) HeightFromCentimetres(r.HeightCm, r.HeightFeet, r.HeightInches);
  r.Sex = field(kSex);
  r.MaxHR = field(kMaxHr);
  r.VO2max = field(kVo2);
  r.SecondaryHR = field(kSecondary);
  int32_t year = 1900 + field(kYear);
  if (year < kFirstBirthYear) year += 100;
  r.BirthDate = codec::MakeDate(field(kDay), field(kMonth), year);
  r.Level = field(kLevel);
  return CheckUser(r) ? 1 : 0;
}

int32_t UnpackLoadedUser(FitnessUserSettings& r) {
  const int32_t message = UserMessage(r);
  const ImageReader image(message, kImageParam);
  return UnpackUser(r, message, [&](int32_t k) { return image.byte(kPayload + kLoadShift + k); });
}

// Exercise settings: 9064 from index 5.
enum ExerciseByte : int32_t {
  kPercent = 5,
  kConstA = 7,
  kConstB = 8,
  kLower = 9,
  kUpper = 10,
  kValueA = 26,
  kValueC = 30,
  kValueB = 34,
  kPercentAgain = 38,
  kExerciseEnd = 41,
};
constexpr int32_t kConstAValue = 7;
constexpr int32_t kConstBValue = 36;
constexpr int32_t kExerciseTypes[] = {24, 25, 26, 40};

bool CheckExercise(FitnessExerciseSettings& r) {
  if (r.Size == 0) r.Size = kFitnessExerciseSize;
  if (std::find(std::begin(kExerciseTypes), std::end(kExerciseTypes), r.UnitType) ==
      std::end(kExerciseTypes)) {
    return false;
  }
  if (r.LimitsInPercent != 0) {
    if (!InRange(r.UpperLimit, 0, 100) || !InRange(r.LowerLimit, 0, 100)) return false;
  } else {
    r.UpperLimit = InRangeOr(r.UpperLimit, 30, 240, 160);
    r.LowerLimit = InRangeOr(r.LowerLimit, 30, 240, 80);
  }
  return r.LowerLimit <= r.UpperLimit;
}

void PackExercise(const FitnessExerciseSettings& r) {
  const ImageWriter image(kExerciseMessage, kImageParam);
  for (int32_t i = kPayload; i <= kExerciseEnd; ++i)
    image.byte(i, 0);
  image.byte(kPercent, r.LimitsInPercent);
  image.byte(kConstA, kConstAValue);
  image.byte(kConstB, kConstBValue);
  image.byte(kLower, r.LowerLimit);
  image.byte(kUpper, r.UpperLimit);
  image.byte(kValueA, r.FitnessValueA);
  image.byte(kValueC, r.FitnessValueC);
  image.byte(kValueB, r.FitnessValueB);
  image.byte(kPercentAgain, r.LimitsInPercent);
}

// The unit type stays the caller's: the image does not carry it (and the checks need it).
int32_t UnpackLoadedExercise(FitnessExerciseSettings& r) {
  const int32_t unit_type = r.UnitType;
  std::memset(&r, 0, sizeof r);
  r.Size = kFitnessExerciseSize;
  r.UnitType = unit_type;
  const ImageReader image(kExerciseMessage, kImageParam);
  const auto at = [&](int32_t index) { return image.byte(index + kLoadShift); };
  r.LimitsInPercent = at(kPercent);
  r.LimitsInPercent = at(kPercentAgain);
  r.LowerLimit = at(kLower);
  r.UpperLimit = at(kUpper);
  r.FitnessValueA = at(kValueA);
  r.FitnessValueC = at(kValueC);
  r.FitnessValueB = at(kValueB);
  return CheckExercise(r) ? 1 : 0;
}

// The options byte: bit 2 stays 0.
constexpr int32_t kOptionWeights[] = {1, 2, 8, 16};
using MonitorField = int32_t FitnessMonitorSettings::*;
constexpr MonitorField kOptionFields[] = {
    &FitnessMonitorSettings::FitnessOption0, &FitnessMonitorSettings::FitnessOption1,
    &FitnessMonitorSettings::FitnessOption3, &FitnessMonitorSettings::FitnessOption4};

void PackMonitor(const FitnessMonitorSettings& r) {
  int32_t options = 0;
  for (size_t i = 0; i < std::size(kOptionFields); ++i)
    options += r.*kOptionFields[i] * kOptionWeights[i];
  ImageWriter(kMonitorMessage, kImageParam).byte(kPayload, options);
}

void UnpackLoadedMonitor(FitnessMonitorSettings& r) {
  const int32_t options = ImageReader(kMonitorMessage, kImageParam).byte(kPayload + kLoadShift);
  for (size_t i = 0; i < std::size(kOptionFields); ++i)
    r.*kOptionFields[i] = (options & kOptionWeights[i]) != 0 ? 1 : 0;
}

// The clock image: day, month, year - 2000, seconds, minutes, hours (BCD), 0, 0x10, 0, the
// 12-hour flag, 0.
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kClockMarker = 0x10;

}  // namespace

void RecordDefaults(FitnessUserSettings& record) {
  ResetFitnessUser(record);
}
void RecordDefaults(FitnessExerciseSettings& record) {
  ResetFitnessExercise(record);
}
void RecordDefaults(FitnessMonitorSettings& record) {
  std::memset(&record, 0, sizeof record);
  record.Size = kFitnessMonitorSize;
}

bool PrepareFitnessUser(FitnessUserSettings& record) {
  if (!CheckUser(record)) return false;
  const int32_t message = UserMessage(record);
  PackUser(record, message);
  protocol::SealMessageImage(message, 0, 0);
  return true;
}

int32_t SendFitnessUser(CommParams& params, FitnessUserSettings& record) {
  SendSteps steps;
  steps.write_message = UserMessage(record);
  steps.prepare = [&] { return PrepareFitnessUser(record); };
  steps.unpack_loaded = [&] { return UnpackLoadedUser(record); };
  return SendSettings(params, steps);
}

void ResetFitnessUser(FitnessUserSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kFitnessUserSize;
  r.BirthDate = 19700101;
  r.Level = 1;
  r.MaxHR = 200;
  r.SecondaryHR = 60;
  r.VO2max = 45;
  r.WeightKg = 70;
  r.HeightCm = 182;
}

bool PrepareFitnessExercise(FitnessExerciseSettings& record) {
  if (!CheckExercise(record)) return false;
  PackExercise(record);
  protocol::SealMessageImage(kExerciseMessage, 0, 0);
  return true;
}

int32_t SendFitnessExercise(CommParams& params, FitnessExerciseSettings& record) {
  SendSteps steps;
  steps.write_message = kExerciseMessage;
  steps.prepare = [&] { return PrepareFitnessExercise(record); };
  steps.unpack_loaded = [&] { return UnpackLoadedExercise(record); };
  return SendSettings(params, steps);
}

void ResetFitnessExercise(FitnessExerciseSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kFitnessExerciseSize;
  r.UnitType = 25;
  r.UpperLimit = 160;
  r.LowerLimit = 80;
  r.FitnessValueA = 1;
  r.FitnessValueB = 2;
  r.FitnessValueC = 2;
}

int32_t SendFitnessMonitor(CommParams& params, FitnessMonitorSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  SendSteps steps;
  steps.write_message = kMonitorMessage;
  steps.prepare = [&] {
    if (record.Size == 0) record.Size = kFitnessMonitorSize;
    PackMonitor(record);
    protocol::SealMessageImage(kMonitorMessage, 0, 0);
    return true;
  };
  steps.unpack_loaded = [&] {
    UnpackLoadedMonitor(record);
    return 1;
  };
  return SendSettings(params, steps);
}

void PrepareFitnessClock(int32_t link_type) {
  const int32_t seconds =
      (platform::NowSeconds() + (link_type == static_cast<int32_t>(frame::kLinkSound) ? 1 : 0)) %
      kSecondsPerDay;
  const codec::DateParts today = codec::SplitDate(platform::Today());
  const bool twelve_hour = platform::locale().time_locale().twelve_hour;
  const ImageWriter image(kClockMessage, kImageParam);
  const int32_t bytes[] = {today.day,
                           today.month,
                           today.year - 2000,
                           codec::BinToBcd(seconds % 60),
                           codec::BinToBcd(seconds / 60 % 60),
                           codec::BinToBcd(seconds / 3600),
                           0,
                           kClockMarker,
                           0,
                           twelve_hour ? 1 : 0,
                           0};
  for (size_t i = 0; i < std::size(bytes); ++i)
    image.byte(kPayload + static_cast<int32_t>(i), bytes[i]);
  protocol::SealMessageImage(kClockMessage, 0, 0);
}

int32_t SendFitnessClock(CommParams& params) {
  SendSteps steps;
  steps.write_message = kClockMessage;
  steps.prepare = [&] {
    PrepareFitnessClock(static_cast<int32_t>(params.LinkType));
    return true;
  };
  // The clock has no record: what the data file gave stays in the image.
  steps.unpack_loaded = [] { return 1; };
  return SendSettings(params, steps);
}

int32_t UnpackJ9User(FitnessUserSettings& record) {
  const Module& m = module();
  return UnpackUser(record, kUserShort,
                    [&](int32_t k) { return static_cast<int32_t>(m.banks.scratch(8 + k)); });
}

int32_t ReadJ9User(CommParams& params, FitnessUserSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  exercise::SetFitnessBlock(kJ9UserAddress, kJ9UserCount);
  if (!exercise::ReadFitnessBlock(params, protocol::kFitnessBlockArea)) return 0;
  return UnpackJ9User(record);
}

}  // namespace quibra::settings

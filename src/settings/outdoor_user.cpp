#include "settings/outdoor_user.h"

#include <cstring>

#include "codec/dates.h"
#include "exercise/unit_conversion.h"
#include "protocol/seal.h"
#include "settings/body_values.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

namespace ex = quibra::exercise;
using R = TrkUserSettings;
using Field = int32_t R::*;

constexpr int32_t kLastTimerValue = 359999;  // 99:59:59
constexpr int32_t kSignedBias = 128;

// The 9042 image (sub-image 1), from index 5; the 9043 answer carries each byte one index later.
//
//   index    content
//   5, 6     WeightLb, low byte first
//   7        HeightCm (low byte)
//   8, 9, 10 BirthDate: day, month, year - 1900 (less 100 when that is 100 or more), binary
//   11       Sex            12  Level        13  MaxHR      14  VO2max     15  UserValue
//   16       2 x OptionA1, + 4 when OptionA2 is 0, + 8 when OptionA3 is 0
//   17       a bit set for each limit flag that is 0: bit 0 B1, 1 A1, 2 B2, 3 A2, 4 B3, 5 A3,
//            bit 6 when LimitsInBpm is 0
//   18       ChoiceA        19  ChoiceB
//   20..22   TimerValue: seconds, minutes, hours (BCD)
//   23, 24   LowerLimit1, UpperLimit1; 25, 26 set 2; 27, 28 set 3
//   29       ChoiceC, + 16 when OptionD4 is 0, + 32 OptionD5, + 64 OptionD6, + 128 OptionD7
//   30, 31   AltitudeFt1 + 8192, low byte first; 32, 33 AltitudeFt2
//   34       SignedValue + 128
enum UserByte : int32_t {
  kWeightLb = 5,
  kHeightCm = 7,
  kBirthDay = 8,
  kBirthMonth = 9,
  kBirthYear = 10,
  kSex = 11,
  kLevel = 12,
  kMaxHR = 13,
  kVO2max = 14,
  kUserValue = 15,
  kOptionsA = 16,
  kLimitFlags = 17,
  kChoiceA = 18,
  kChoiceB = 19,
  kTimer = 20,
  kFirstLimits = 23,  // lower, upper per set
  kOptionsD = 29,
  kFirstAltitude = 30,  // two bytes per value
  kSignedValue = 34,
};

struct LimitSet {
  Field flag_a;
  Field flag_b;
  Field upper;
  Field lower;
  int bit_b;  // the A flag's bit is the next one
};
constexpr LimitSet kLimitSets[] = {
    {&R::LimitFlagA1, &R::LimitFlagB1, &R::UpperLimit1, &R::LowerLimit1, 0},
    {&R::LimitFlagA2, &R::LimitFlagB2, &R::UpperLimit2, &R::LowerLimit2, 2},
    {&R::LimitFlagA3, &R::LimitFlagB3, &R::UpperLimit3, &R::LowerLimit3, 4},
};
constexpr int kBitLimitsInPercent = 6;

struct Altitude {
  Field option;
  Field feet;
  Field metres;
  int bit;  // of the D options byte
};
constexpr Altitude kAltitudes[] = {
    {&R::OptionD6, &R::AltitudeFt1, &R::AltitudeM1, 6},
    {&R::OptionD7, &R::AltitudeFt2, &R::AltitudeM2, 7},
};
constexpr int kBitD4Off = 4;
constexpr int kBitD5 = 5;

constexpr int kBitA1 = 1;
constexpr int kBitA2Off = 2;
constexpr int kBitA3Off = 3;

int32_t Converted(double value, int32_t from, int32_t to) {
  return RoundHalfUp(ex::ConvertUnit(value, from, to));
}

void CheckWeight(R& r) {
  if (r.WeightLb != 0) {
    r.WeightLb = InRangeOr(r.WeightLb, 44, 499, 140);
    r.WeightKg = Converted(r.WeightLb, ex::kPound, ex::kKilogram);
  } else {
    r.WeightKg = InRangeOr(r.WeightKg, 20, 199, 70);
    r.WeightLb = Converted(r.WeightKg, ex::kKilogram, ex::kPound);
  }
}

void DeriveFeetAndInches(R& r) {
  r.HeightFeet = Converted(r.HeightCm, ex::kCentimetre, ex::kFeetOfPair);
  r.HeightInches = Converted(r.HeightCm, ex::kCentimetre, ex::kInchesOfPair);
}

void CheckHeight(R& r) {
  if (r.HeightCm != 0) {
    r.HeightCm = InRangeOr(r.HeightCm, 90, 210, 170);
    DeriveFeetAndInches(r);
  } else {
    r.HeightFeet = InRangeOr(r.HeightFeet, 2, 7, 5);
    r.HeightInches = InRangeOr(r.HeightInches, 0, 11, 8);
    r.HeightCm = Converted(r.HeightFeet, ex::kFoot, ex::kCentimetre) +
                 Converted(r.HeightInches, ex::kInch, ex::kCentimetre);
  }
}

bool CheckLimits(R& r) {
  for (const LimitSet& set : kLimitSets) {
    if (!IsFlag(r.*set.flag_a) || !IsFlag(r.*set.flag_b)) return false;
    if (r.*set.flag_a == 0 || r.*set.flag_b == 0) continue;
    if (r.LimitsInBpm != 0) {
      r.*set.upper = InRangeOr(r.*set.upper, 30, 240, 160);
      r.*set.lower = InRangeOr(r.*set.lower, 30, 240, 80);
    } else {
      r.*set.upper = InRangeOr(r.*set.upper, 50, 100, 60);
      r.*set.lower = InRangeOr(r.*set.lower, 50, 100, 75);
    }
    if (r.*set.lower > r.*set.upper) return false;
  }
  return true;
}

bool CheckAltitudes(R& r) {
  for (const Altitude& a : kAltitudes) {
    if (!IsFlag(r.*a.option)) return false;
    if (r.*a.feet != 0) {
      r.*a.feet = InRangeOr(r.*a.feet, -1800, 29500, 0);
      r.*a.metres = FeetToMetres(r.*a.feet);
    } else {
      r.*a.metres = InRangeOr(r.*a.metres, -548, 8990, 0);
      r.*a.feet = MetresToFeet(r.*a.metres);
    }
  }
  return true;
}

bool AllFlags(const R& r, std::initializer_list<Field> fields) {
  for (const Field field : fields) {
    if (!IsFlag(r.*field)) return false;
  }
  return true;
}

void Pack(const R& r) {
  const ImageWriter image(outdoor::kUserWrite, 1);
  image.byte(kWeightLb, r.WeightLb);
  image.byte(kWeightLb + 1, r.WeightLb >> 8);
  image.byte(kHeightCm, r.HeightCm);
  const codec::DateParts birth = codec::SplitDate(r.BirthDate);
  int32_t year = birth.year - 1900;
  if (year >= 100) year -= 100;
  image.byte(kBirthDay, birth.day);
  image.byte(kBirthMonth, birth.month);
  image.byte(kBirthYear, year);
  image.byte(kSex, r.Sex);
  image.byte(kLevel, r.Level);
  image.byte(kMaxHR, r.MaxHR);
  image.byte(kVO2max, r.VO2max);
  image.byte(kUserValue, r.UserValue);
  image.byte(kOptionsA, (r.OptionA1 << kBitA1) | (r.OptionA2 == 0 ? 1 << kBitA2Off : 0) |
                            (r.OptionA3 == 0 ? 1 << kBitA3Off : 0));
  int32_t limit_flags = r.LimitsInBpm == 0 ? 1 << kBitLimitsInPercent : 0;
  int32_t at = kFirstLimits;
  for (const LimitSet& set : kLimitSets) {
    if (r.*set.flag_b == 0) limit_flags |= 1 << set.bit_b;
    if (r.*set.flag_a == 0) limit_flags |= 1 << (set.bit_b + 1);
    image.byte(at++, r.*set.lower);
    image.byte(at++, r.*set.upper);
  }
  image.byte(kLimitFlags, limit_flags);
  image.byte(kChoiceA, r.ChoiceA);
  image.byte(kChoiceB, r.ChoiceB);
  image.bcd(kTimer, r.TimerValue % 60);
  image.bcd(kTimer + 1, r.TimerValue % 3600 / 60);
  image.bcd(kTimer + 2, r.TimerValue / 3600);
  int32_t options_d = r.ChoiceC | (r.OptionD4 == 0 ? 1 << kBitD4Off : 0) | r.OptionD5 << kBitD5;
  at = kFirstAltitude;
  for (const Altitude& a : kAltitudes) {
    options_d |= r.*a.option << a.bit;
    const int32_t biased = r.*a.feet + kAltitudeBias;
    image.byte(at++, biased);
    image.byte(at++, biased >> 8);
  }
  image.byte(kOptionsD, options_d);
  image.byte(kSignedValue, r.SignedValue + kSignedBias);
}

}  // namespace

int32_t FeetToMetres(int32_t feet) {
  return Converted(feet, ex::kFoot, ex::kMetre);
}

int32_t MetresToFeet(int32_t metres) {
  return Converted(metres, ex::kMetre, ex::kFoot);
}

bool CheckTrkUserSettings(R& r) {
  if (r.Size == 0) r.Size = kTrkUserSettingsSize;
  CheckWeight(r);
  CheckHeight(r);
  if (!CompleteBirthDate(r.BirthDate) || !IsFlag(r.Sex)) return false;
  r.Level = InRangeOr(r.Level, 0, 3, 1);
  if (!InRange(r.MaxHR, 100, 240)) r.MaxHR = MaxHeartRateForAge(r.BirthDate);
  if (!InRange(r.VO2max, 10, 95)) r.VO2max = r.Sex != 0 ? 36 : 45;
  r.UserValue = InRangeOr(r.UserValue, 15, 120, 60);
  if (!AllFlags(r, {&R::OptionA1, &R::OptionA2, &R::OptionA3})) return false;
  r.ChoiceA = InRangeOr(r.ChoiceA, 0, 3, 0);
  r.ChoiceB = InRangeOr(r.ChoiceB, 0, 3, 0);
  r.TimerValue = InRangeOr(r.TimerValue, 0, kLastTimerValue, 0);
  if (!CheckLimits(r) || !AllFlags(r, {&R::OptionD4, &R::OptionD5}) || !CheckAltitudes(r))
    return false;
  r.ChoiceC = InRangeOr(r.ChoiceC, 0, 2, 0);
  r.SignedValue = InRangeOr(r.SignedValue, -99, 99, 0);
  return true;
}

bool PrepareTrkUserSettings(R& record) {
  if (!CheckTrkUserSettings(record)) return false;
  Pack(record);
  protocol::SealMessageImage(outdoor::kUserWrite, 0, 0);
  return true;
}

bool UnPackTrkUserSettings(R& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kTrkUserSettingsSize;
  const ImageReader image(outdoor::kUserRead, 1);
  auto at = [](int32_t write_index) { return write_index + outdoor::kReadShift; };
  auto byte = [&](int32_t write_index) { return image.byte(at(write_index)); };
  r.WeightLb = byte(kWeightLb) + 256 * byte(kWeightLb + 1);
  r.WeightKg = Converted(r.WeightLb, ex::kPound, ex::kKilogram);
  r.HeightCm = byte(kHeightCm);
  DeriveFeetAndInches(r);
  int32_t year = 1900 + byte(kBirthYear);
  if (year < kFirstBirthYear) year += 100;
  r.BirthDate = codec::MakeDate(byte(kBirthDay), byte(kBirthMonth), year);
  r.Sex = byte(kSex);
  r.Level = byte(kLevel);
  r.MaxHR = byte(kMaxHR);
  r.VO2max = byte(kVO2max);
  r.UserValue = byte(kUserValue);
  r.OptionA1 = image.bit(at(kOptionsA), kBitA1) ? 1 : 0;
  r.OptionA2 = image.bit(at(kOptionsA), kBitA2Off) ? 0 : 1;
  r.OptionA3 = image.bit(at(kOptionsA), kBitA3Off) ? 0 : 1;
  r.LimitsInBpm = image.bit(at(kLimitFlags), kBitLimitsInPercent) ? 0 : 1;
  int32_t limit = kFirstLimits;
  for (const LimitSet& set : kLimitSets) {
    r.*set.flag_b = image.bit(at(kLimitFlags), set.bit_b) ? 0 : 1;
    r.*set.flag_a = image.bit(at(kLimitFlags), set.bit_b + 1) ? 0 : 1;
    r.*set.lower = byte(limit++);
    r.*set.upper = byte(limit++);
  }
  r.ChoiceA = byte(kChoiceA);
  r.ChoiceB = byte(kChoiceB);
  r.TimerValue =
      image.bcd(at(kTimer + 2)) * 3600 + image.bcd(at(kTimer + 1)) * 60 + image.bcd(at(kTimer));
  r.ChoiceC = image.low(at(kOptionsD));
  r.OptionD4 = image.bit(at(kOptionsD), kBitD4Off) ? 0 : 1;
  r.OptionD5 = image.bit(at(kOptionsD), kBitD5) ? 1 : 0;
  int32_t altitude = kFirstAltitude;
  for (const Altitude& a : kAltitudes) {
    r.*a.option = image.bit(at(kOptionsD), a.bit) ? 1 : 0;
    r.*a.feet = byte(altitude) + 256 * (byte(altitude + 1) & 0x7F) - kAltitudeBias;
    r.*a.metres = FeetToMetres(r.*a.feet);
    altitude += 2;
  }
  r.SignedValue = byte(kSignedValue) - kSignedBias;
  return CheckTrkUserSettings(r);
}

void ResetTrkUserSettings(R& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kTrkUserSettingsSize;
  r.BirthDate = 19700101;
  r.Level = 3;
  r.MaxHR = 200;
  r.UserValue = 60;
  r.VO2max = 45;
  r.WeightKg = 70;
  r.HeightCm = 182;
  r.OptionA2 = 1;
  r.LimitsInBpm = 1;
  r.LimitFlagA1 = 1;
  r.LimitFlagB1 = 1;
  for (const LimitSet& set : kLimitSets) {
    r.*set.upper = 160;
    r.*set.lower = 80;
  }
}

int32_t SendTrkUserSettings(CommParams& params, R& record) {
  SendSteps steps;
  steps.write_message = outdoor::kUserWrite;
  steps.prepare = [&] { return PrepareTrkUserSettings(record); };
  steps.unpack_loaded = [&] { return UnPackTrkUserSettings(record) ? 1 : 0; };
  return SendSettings(params, steps);
}

int32_t ReadTrkUserSettings(CommParams& params, R& record) {
  return ReadSettings(params, outdoor::kUserRead, 0, [&] { UnPackTrkUserSettings(record); });
}

}  // namespace quibra::settings

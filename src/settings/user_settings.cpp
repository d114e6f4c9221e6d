#include "settings/user_settings.h"

#include <cstring>
#include <iterator>

#include "codec/dates.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/today.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/name_fix.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

using Field = int32_t UserSettings::*;

struct OptionBit {
  Field field;
  int bit;
};

// Option byte A carries four flags in bits 0..3 (bit 4 and 5 are composed separately), option
// byte B four more.
constexpr OptionBit kOptionByteA[] = {{&UserSettings::OptionA0, 0},
                                      {&UserSettings::OptionA1, 1},
                                      {&UserSettings::OptionA2, 2},
                                      {&UserSettings::OptionA3, 3}};
constexpr OptionBit kOptionByteB[] = {{&UserSettings::OptionB0, 0},
                                      {&UserSettings::OptionB1, 1},
                                      {&UserSettings::OptionB2, 2},
                                      {&UserSettings::OptionB3, 3}};
constexpr int kBitA4 = 4;
constexpr int kBitA5 = 5;

// Fields that must be 0 or 1, in the order they are checked.
constexpr Field kFlagFields[] = {
    &UserSettings::Sex,      &UserSettings::OptionA0, &UserSettings::OptionA1,
    &UserSettings::OptionA2, &UserSettings::OptionA3, &UserSettings::OptionB0,
    &UserSettings::OptionB3, &UserSettings::OptionB2, &UserSettings::OptionA4,
    &UserSettings::OptionB1,
};

constexpr int32_t kFirstBirthYear = 1921;
constexpr int32_t kFirstBirthDate = 19210101;
constexpr int32_t kBirthDateLimit = 20201232;  // birth dates lie below it
constexpr double kKgPerLb = 0.4536;
constexpr double kFeetPerMetre = 3.28084;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kCmPerInch = 2.54;
constexpr double kCmPerFoot = 30.48;

// Write-image indexes; the read image carries each one index later.
enum UserByte : int32_t {
  kOptionsA = 5,
  kOptionsB = 6,
  kChoices = 7,
  kWeightKg = 8,
  kHeightCm = 9,
  kBirthDay = 10,
  kBirthYear = 11,
  kLevelMonth = 12,
  kVO2max = 13,
  kMaxHR = 14,
  kPoundDigitSex = 15,
  kPoundTens = 16,
  kFeetInches = 17,
  kUserNumber = 18,
  kName = 19,
  kValueHigh = 26,
  kValueLow = 27,
};
constexpr int32_t kReadShift = 1;

bool CheckAndComplete(UserSettings& r) {
  if (r.Size == 0 || !codec::IsValidDate(r.BirthDate)) return false;
  codec::DateParts birth = codec::SplitDate(r.BirthDate);
  if (birth.year < kFirstBirthYear) {
    birth.year = kFirstBirthYear;
    r.BirthDate = codec::MakeDate(birth.day, birth.month, birth.year);
  }
  if (r.BirthDate < kFirstBirthDate || r.BirthDate >= kBirthDateLimit) return false;
  if (!NameFitsTable0(r.Name, sizeof r.Name)) return false;
  r.Level = InRangeOr(r.Level, 0, 3, 1);
  if (!InRange(r.MaxHR, 100, 240)) r.MaxHR = MaxHRFromAge(r.BirthDate);
  if (!InRange(r.VO2max, 10, 95)) r.VO2max = r.Sex != 0 ? 36 : 45;
  r.UserNumber = InRangeOr(r.UserNumber, 1, 99, 1);
  r.PlainValue = InRangeOr(r.PlainValue, 4, 150, 4);
  if (r.WeightLb != 0) {
    r.WeightLb = InRangeOr(r.WeightLb, 44, 499, 140);
    r.WeightKg = RoundHalfUp(r.WeightLb * kKgPerLb);
  } else {
    r.WeightKg = InRangeOr(r.WeightKg, 20, 199, 70);
    r.WeightLb = RoundHalfUp(r.WeightKg / kKgPerLb);
  }
  if (r.HeightCm != 0) {
    r.HeightCm = InRangeOr(r.HeightCm, 90, 210, 170);
    const double metres = r.HeightCm / 100.0;
    int32_t feet = static_cast<int32_t>(metres * kFeetPerMetre);
    int32_t inches = RoundHalfUp((metres - feet * kMetresPerFoot) * 100.0 / kCmPerInch);
    if (inches == 12) {
      ++feet;
      inches = 0;
    }
    r.HeightFeet = feet;
    r.HeightInches = inches;
  } else {
    r.HeightFeet = InRangeOr(r.HeightFeet, 2, 7, 5);
    r.HeightInches = InRangeOr(r.HeightInches, 0, 11, 8);
    r.HeightCm = RoundHalfUp(r.HeightFeet * kCmPerFoot) + RoundHalfUp(r.HeightInches * kCmPerInch);
  }
  for (Field field : kFlagFields) {
    if (!IsFlag(r.*field)) return false;
  }
  if (r.OptionA1 != 0) r.OptionA2 = 1;
  r.ChoiceHigh = InRangeOr(r.ChoiceHigh, 0, 3, 0);
  r.ChoiceLow = InRangeOr(r.ChoiceLow, 0, 2, 0);
  if (!IsFlag(r.BcdValueOn)) return false;
  r.BcdValue = InRangeOr(r.BcdValue, 0, 10000, 0);
  if (r.BcdValue == 0) r.BcdValueOn = 0;
  return true;
}

void Pack(const UserSettings& r, bool name_fix) {
  const ImageWriter image(protocol::msg::kUserSettingsWrite, 1);
  int32_t options_a = 0;
  for (const OptionBit& option : kOptionByteA)
    options_a |= (r.*option.field & 1) << option.bit;
  if (r.OptionA4 != 0 || r.BcdValueOn != 0) options_a |= 1 << kBitA4;
  if (r.OptionA5Off == 0) options_a |= 1 << kBitA5;
  int32_t options_b = 0;
  for (const OptionBit& option : kOptionByteB)
    options_b |= (r.*option.field & 1) << option.bit;
  const codec::DateParts birth = codec::SplitDate(r.BirthDate);
  int32_t year = birth.year - 1900;
  if (year >= 100) year -= 100;

  image.byte(kOptionsA, options_a);
  image.byte(kOptionsB, options_b);
  image.nibbles(kChoices, r.ChoiceHigh, r.ChoiceLow);
  image.byte(kWeightKg, r.WeightKg);
  image.byte(kHeightCm, r.HeightCm);
  image.bcd(kBirthDay, birth.day);
  image.bcd(kBirthYear, year);
  image.nibbles(kLevelMonth, r.Level, birth.month);
  image.byte(kVO2max, r.VO2max);
  image.byte(kMaxHR, r.MaxHR);
  image.nibbles(kPoundDigitSex, r.WeightLb % 10, r.Sex);
  image.bcd(kPoundTens, r.WeightLb / 10);
  image.nibbles(kFeetInches, r.HeightFeet, r.HeightInches);
  image.bcd(kUserNumber, r.UserNumber);
  PackUnitName(image, kName, r.Name);
  const int32_t high = r.BcdValueOn != 0 ? codec::BinToBcd(r.BcdValue / 10) : r.PlainValue;
  const int32_t low = r.BcdValueOn != 0 ? codec::BinToBcd(r.BcdValue % 10) : 0;
  image.byte(kValueHigh, high);
  image.byte(kValueLow, low);
  if (name_fix && r.BcdValueOn != 0) {
    // These units read the value from the first two name characters; the name itself follows
    // with a block write of its own.
    image.byte(kName, high);
    image.byte(kName + 1, low);
  }
}

}  // namespace

bool UnitNeedsNameFix() {
  const UnitIdentity& unit = module().unit;
  return unit.type.load() == 22 && unit.variant.load() == 3;
}

bool PrepareUserSettings(UserSettings& record, bool name_fix) {
  if (!CheckAndComplete(record)) return false;
  Pack(record, name_fix);
  protocol::SealMessageImage(protocol::msg::kUserSettingsWrite, 0, 0);
  return true;
}

int32_t SendUserSettings(CommParams& params, UserSettings& record) {
  const bool data_file = params.ReadFromDataFile != 0 || params.WriteToDataFile != 0;
  const bool name_fix = !data_file && (params.LinkType == frame::kLinkSound || UnitNeedsNameFix());
  SendSteps steps;
  steps.write_message = protocol::msg::kUserSettingsWrite;
  steps.prepare = [&] { return PrepareUserSettings(record, name_fix); };
  steps.unpack_loaded = [&] {
    return UnPackUserSettings(static_cast<int32_t>(params.LinkType), record);
  };
  steps.after_delivery = [&](Delivery delivery) -> int32_t {
    if (record.BcdValueOn == 0) return 1;
    const auto link = static_cast<int32_t>(params.LinkType);
    if (delivery == Delivery::Infrared && !UnitNeedsNameFix()) return 1;
    if (delivery == Delivery::SoundOrDataFile && data_file) return 1;
    return K55Tm3NameUpdFix(link, record.Name) != 0 ? 1 : 0;
  };
  return SendSettings(params, steps);
}

int32_t ReadUserSettings(CommParams& params, UserSettings& record) {
  return ReadSettings(params, protocol::msg::kUserSettingsRead, 0,
                      [&] { UnPackUserSettings(static_cast<int32_t>(params.LinkType), record); });
}

int32_t UnPackUserSettings(int32_t link_type, UserSettings& record) {
  if (link_type == frame::kLinkInfrared && UnitNeedsNameFix() &&
      frame::GetStateFlag(frame::kFlagIrdaSockets) == 0) {
    return 1;
  }
  UserSettings& r = record;
  std::memset(&r, 0, sizeof r);
  r.Size = kUserSettingsSize;
  const ImageReader image(protocol::msg::kUserSettingsRead, 1);
  auto at = [](int32_t write_index) { return write_index + kReadShift; };
  for (const OptionBit& option : kOptionByteA)
    r.*option.field = image.bit(at(kOptionsA), option.bit) ? 1 : 0;
  r.OptionA4 = image.bit(at(kOptionsA), kBitA4) ? 1 : 0;
  r.BcdValueOn = r.OptionA4;
  r.OptionA5Off = image.bit(at(kOptionsA), kBitA5) ? 0 : 1;
  for (const OptionBit& option : kOptionByteB)
    r.*option.field = image.bit(at(kOptionsB), option.bit) ? 1 : 0;
  r.ChoiceHigh = image.high(at(kChoices));
  r.ChoiceLow = image.low(at(kChoices));
  r.WeightKg = image.byte(at(kWeightKg));
  r.HeightCm = image.byte(at(kHeightCm));
  int32_t year = 1900 + image.bcd(at(kBirthYear));
  if (year < kFirstBirthYear) year += 100;
  r.BirthDate = codec::MakeDate(image.bcd(at(kBirthDay)), image.low(at(kLevelMonth)), year);
  r.Level = image.high(at(kLevelMonth));
  r.VO2max = image.byte(at(kVO2max));
  r.MaxHR = image.byte(at(kMaxHR));
  r.Sex = image.low(at(kPoundDigitSex));
  r.WeightLb = image.bcd(at(kPoundTens)) * 10 + image.high(at(kPoundDigitSex));
  r.HeightFeet = image.high(at(kFeetInches));
  r.HeightInches = image.low(at(kFeetInches));
  r.UserNumber = image.bcd(at(kUserNumber));
  UnpackUnitName(image, at(kName), r.Name);
  const int32_t high = image.byte(at(kValueHigh));
  if (high != 0) {
    r.PlainValue = high;
    r.BcdValue = codec::BcdToBin(high) * 10 + codec::BcdToBin(image.low(at(kValueLow)));
  }
  return 1;
}

void ResetUserSettings(UserSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kUserSettingsSize;
  r.BirthDate = 19700101;
  r.Level = 3;
  r.MaxHR = 200;
  r.VO2max = 45;
  r.WeightKg = 70;
  r.HeightCm = 182;
  constexpr char kDefaultName[] = "Orvek";
  std::memcpy(r.Name, kDefaultName, sizeof kDefaultName);
  r.UserNumber = 1;
  r.OptionA0 = 1;
  r.OptionA1 = 1;
  r.OptionA2 = 1;
  r.OptionB2 = 1;
  r.PlainValue = 4;
}

namespace {

std::optional<exercise::UserValues> ReadUserValuesSilently(int32_t monitor_type) {
  if (monitor_type != 22 && monitor_type != 23) return std::nullopt;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = frame::kLinkInfrared;
  UserSettings record{};
  if (ReadUserSettings(params, record) == 0) return std::nullopt;
  return exercise::UserValues{record.MaxHR, record.WeightKg};
}

}  // namespace

int32_t ReadUnitMaxHR(int32_t monitor_type) {
  const auto values = ReadUserValuesSilently(monitor_type);
  return values ? values->max_heart_rate : 0;
}

std::optional<exercise::UserValues> ReadDetectedUnitUserValues() {
  return ReadUserValuesSilently(module().unit.type);
}

}  // namespace quibra::settings

#include "settings/body_values.h"

#include "codec/dates.h"
#include "platform/today.h"
#include "settings/image_bytes.h"

namespace quibra::settings {
namespace {

constexpr int32_t kFirstBirthDate = 19210101;
constexpr int32_t kBirthDateLimit = 20201232;  // birth dates lie below it
constexpr double kFeetPerMetre = 3.28084;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kCmPerInch = 2.54;
constexpr double kCmPerFoot = 30.48;

}  // namespace

bool CompleteBirthDate(int32_t& birth_date) {
  if (!codec::IsValidDate(birth_date)) return false;
  codec::DateParts birth = codec::SplitDate(birth_date);
  if (birth.year < kFirstBirthYear) {
    birth.year = kFirstBirthYear;
    birth_date = codec::MakeDate(birth.day, birth.month, birth.year);
  }
  return birth_date >= kFirstBirthDate && birth_date < kBirthDateLimit;
}

int32_t MaxHeartRateForAge(int32_t birth_date) {
  const codec::DateParts birth = codec::SplitDate(birth_date);
  const codec::DateParts today = codec::SplitDate(platform::Today());
  const bool before_birthday = today.month * 100 + today.day < birth.month * 100 + birth.day;
  return 220 - (today.year - birth.year) - (before_birthday ? 1 : 0);
}

void HeightFromCentimetres(int32_t centimetres, int32_t& feet, int32_t& inches) {
  const double metres = centimetres / 100.0;
  feet = static_cast<int32_t>(metres * kFeetPerMetre);
  inches = RoundHalfUp((metres - feet * kMetresPerFoot) * 100.0 / kCmPerInch);
  if (inches == 12) {
    ++feet;
    inches = 0;
  }
}

int32_t CentimetresFromHeight(int32_t feet, int32_t inches) {
  return RoundHalfUp(feet * kCmPerFoot) + RoundHalfUp(inches * kCmPerInch);
}

}  // namespace quibra::settings

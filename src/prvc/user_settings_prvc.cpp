#include "prvc/user_settings_prvc.h"

#include <cstring>
#include <span>

#include "codec/dates.h"
#include "exercise/unit_conversion.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "platform/today.h"
#include "prvc/device_text.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"
#include "ui/busy_dialog.h"

namespace quibra::prvc {
namespace {

constexpr uint32_t kPauseMs = 300;
constexpr uint32_t kBusyStartMs = 500;
constexpr int32_t kFirstType = 33;
constexpr int32_t kLastType = 38;
constexpr int32_t kFirstBirthYear = 1921;
constexpr int32_t kFirstBirthDate = 19210101;
constexpr int32_t kLastBirthDate = 20201231;
constexpr size_t kTextChars = 10;
constexpr char kEmptyText[] = "-";
// A text the unit never had reads as ten zero digits: the field then stays empty.
constexpr char kBlankText[] = "0000000000";
// The two texts are cut to the width the unit shows them in.
constexpr int32_t kText1Pixels = 32;
constexpr int32_t kText2Pixels = 38;
// Area 1 ends in three bytes the unit expects as 1, 0, 0; Sex goes as 30 or 31.
constexpr uint8_t kArea1Tail[] = {1, 0, 0};
constexpr int32_t kSexBase = 30;
// The byte 13 below user area 2 gets bit 6 set, its other bits kept.
constexpr int32_t kFlagByteBelowArea2 = 13;
constexpr uint8_t kFlagBit6 = 0x40;

int32_t Round(double value) {
  return static_cast<int32_t>(value + 0.5);
}

bool InRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high;
}

int32_t InRangeOr(int32_t value, int32_t low, int32_t high, int32_t fallback) {
  return InRange(value, low, high) ? value : fallback;
}

void FillEmptyText(char* text) {
  if (text[0] == '\0') std::memcpy(text, kEmptyText, sizeof kEmptyText);
}

// 220 minus the age in whole years on today's date.
int32_t MaxHeartRateForAge(int32_t birth_date) {
  const codec::DateParts birth = codec::SplitDate(birth_date);
  const codec::DateParts today = codec::SplitDate(platform::Today());
  const bool before_birthday = today.month * 100 + today.day < birth.month * 100 + birth.day;
  return 220 - (today.year - birth.year) - (before_birthday ? 1 : 0);
}

}  // namespace

bool CheckUserSettings(PrvcUserSettings& r) {
  using namespace exercise;
  if (!InRange(r.UnitType, kFirstType, kLastType)) return false;
  r.Text1[sizeof r.Text1 - 1] = '\0';
  r.Text2[sizeof r.Text2 - 1] = '\0';
  FillEmptyText(r.Text1);
  FillEmptyText(r.Text2);
  if (!codec::IsValidDate(r.BirthDate)) return false;
  codec::DateParts birth = codec::SplitDate(r.BirthDate);
  if (birth.year < kFirstBirthYear)
    r.BirthDate = codec::MakeDate(birth.day, birth.month, kFirstBirthYear);
  if (!InRange(r.BirthDate, kFirstBirthDate, kLastBirthDate)) return false;
  r.Level = InRangeOr(r.Level, 0, 3, 1);
  if (!InRange(r.MaxHR, 100, 240)) r.MaxHR = MaxHeartRateForAge(r.BirthDate);
  if (!InRange(r.VO2max, 10, 95)) r.VO2max = r.Sex != 0 ? 36 : 45;
  if (r.WeightLb != 0) {
    r.WeightLb = InRangeOr(r.WeightLb, 44, 499, 140);
    r.WeightKg = Round(ConvertUnit(r.WeightLb, kPound, kKilogram));
  } else {
    r.WeightKg = InRangeOr(r.WeightKg, 20, 199, 70);
    r.WeightLb = Round(ConvertUnit(r.WeightKg, kKilogram, kPound));
  }
  if (r.HeightCm != 0) {
    r.HeightCm = InRangeOr(r.HeightCm, 90, 211, 170);
    r.HeightFeet = Round(ConvertUnit(r.HeightCm, kCentimetre, kFeetOfPair));
    r.HeightInches = Round(ConvertUnit(r.HeightCm, kCentimetre, kInchesOfPair));
  } else {
    r.HeightFeet = InRangeOr(r.HeightFeet, 2, 7, 5);
    r.HeightInches = InRangeOr(r.HeightInches, 0, 11, 8);
    r.HeightCm = Round(ConvertUnit(r.HeightFeet, kFoot, kCentimetre)) +
                 Round(ConvertUnit(r.HeightInches, kInch, kCentimetre));
  }
  if (r.Sex != 0) r.Sex = 1;
  r.UserNumber = InRangeOr(r.UserNumber, 0, 99, 1);
  r.UserValue = InRangeOr(r.UserValue, 15, 99, 50);
  return true;
}

std::array<uint8_t, kUserArea1Bytes> PackUserArea1(const PrvcUserSettings& r) {
  const codec::DateParts birth = codec::SplitDate(r.BirthDate);
  int32_t year = birth.year - 1900;
  if (year >= 100) year -= 100;
  const int32_t tenths_of_pounds = r.WeightLb * 10;
  auto b = [](int32_t v) { return static_cast<uint8_t>(v & 0xFF); };
  return {b(tenths_of_pounds), b(tenths_of_pounds >> 8),
          b(r.HeightCm),       b(birth.day),
          b(birth.month),      b(year),
          b(r.MaxHR),          b(r.VO2max),
          b(r.UserValue),      b(r.Sex + kSexBase),
          b(r.Level),          kArea1Tail[0],
          kArea1Tail[1],       kArea1Tail[2]};
}

std::array<uint8_t, kUserArea2Bytes> PackUserArea2(const PrvcUserSettings& r) {
  std::array<uint8_t, kUserArea2Bytes> area{};
  const std::span<uint8_t> all(area);
  PackDeviceText(all.subspan(0, kTextChars), r.Text1, sizeof r.Text1, kNewerTextTable,
                 kText1Pixels);
  PackDeviceText(all.subspan(kTextChars, kTextChars), r.Text2, sizeof r.Text2, kNewerTextTable,
                 kText2Pixels);
  area[2 * kTextChars] = static_cast<uint8_t>(r.UserNumber & 0xFF);
  return area;
}

void UnpackUserArea1(const std::array<uint8_t, kUserArea1Bytes>& a, PrvcUserSettings& r) {
  r.WeightLb = (a[0] + 256 * a[1]) / 10;
  r.HeightCm = a[2];
  int32_t year = a[5] + 1900;
  if (year < 1901) year += 100;
  r.BirthDate = codec::MakeDate(a[3] & 31, a[4], year);
  r.MaxHR = a[6];
  r.VO2max = a[7];
  r.UserValue = a[8];
  r.Sex = a[9] & 1;
  r.Level = a[10];
}

void UnpackUserArea2(const std::array<uint8_t, kUserArea2Bytes>& a, PrvcUserSettings& r) {
  const std::span<const uint8_t> all(a);
  char* texts[] = {r.Text1, r.Text2};
  for (size_t t = 0; t < 2; ++t) {
    char text[kTextChars + 1] = {};
    // An unknown code reads as code 10's character, as the unit's own texts do.
    UnpackDeviceText(all.subspan(t * kTextChars, kTextChars), text, kTextChars, kNewerTextTable,
                     '\n', TrailingSpaces::KeepFirst);
    if (std::strcmp(text, kBlankText) != 0) std::memcpy(texts[t], text, sizeof text);
  }
  r.UserNumber = a[2 * kTextChars];
}

int32_t SendUserSettingsPrvc(CommParams& params, PrvcUserSettings& record) {
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!CheckUserSettings(record)) return 0;
  // Before the unit was identified the map has no user areas: nothing is written at 0.
  const UnitMemoryMap& map = module().memory_map;
  if (map.user_area1 == 0 || map.user_area2 == 0) return 0;
  const bool busy = params.ShowDialog != 0;
  if (busy) {
    ui::StartBusyDialog(params.ParentWindow);
    platform::clock().sleep_ms(kBusyStartMs);
    params.ShowDialog = 0;  // every exchange below runs silently under the busy dialog
  }
  auto write = [&] {
    if (!WriteUnitMemory(params, record.UnitType, map.user_area1, PackUserArea1(record)))
      return false;
    platform::clock().sleep_ms(kPauseMs);
    if (!WriteUnitMemory(params, record.UnitType, map.user_area2, PackUserArea2(record)))
      return false;
    platform::clock().sleep_ms(kPauseMs);
    // The unit learns from bit 6 of this byte that its user data changed. A failed read of it
    // fails the send rather than writing back a byte the unit never gave.
    const int32_t flag_address = map.user_area2 - kFlagByteBelowArea2;
    std::array<uint8_t, 1> flag{};
    if (!ReadUnitMemory(params, flag_address, 0, flag, kPauseMs)) return false;
    platform::clock().sleep_ms(kPauseMs);
    flag[0] |= kFlagBit6;
    if (!WriteUnitMemory(params, record.UnitType, flag_address, flag)) return false;
    platform::clock().sleep_ms(kPauseMs);
    return FinishMemoryWrite(params);
  };
  const bool ok = write();
  if (busy) ui::EndBusyDialog();
  return ok ? 1 : 0;
}

int32_t ReadUserSettingsPrvc(CommParams& params, PrvcUserSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  std::memset(&record, 0, sizeof record);
  record.UnitType = params.MonitorType;
  // Before the unit was identified the map has no user areas: the record keeps its defaults.
  const UnitMemoryMap& map = module().memory_map;
  std::array<uint8_t, kUserArea1Bytes> area1{};
  if (map.user_area1 != 0 && ReadUnitMemory(params, map.user_area1, 0, area1, kPauseMs))
    UnpackUserArea1(area1, record);
  std::array<uint8_t, kUserArea2Bytes> area2{};
  if (map.user_area2 != 0 && ReadUnitMemory(params, map.user_area2, 0, area2, kPauseMs))
    UnpackUserArea2(area2, record);
  CheckUserSettings(record);
  return 1;
}

}  // namespace quibra::prvc

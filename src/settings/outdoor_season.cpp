#include "settings/outdoor_season.h"

#include <cstring>

#include "codec/dates.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/outdoor_user.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

// The 9046 answer, from index 6 (the unit answers 51 payload bytes; the rest is not used).
//
//   index      content
//   6, 7, 8    SeasonStartDate: day, month, year - 2000 (binary; day 0 = none)
//   9, 10      ExerciseCount, low byte first
//   11, 12     ExerciseTime, whole hours, low byte first
//   13, 14     ExerciseTime, minutes and seconds (binary)
//   15..17     AscentFt, low byte first
//   18..20     DescentFt, low byte first
//   21..23     EnergyKcal, low byte first
//   24, 25     HighestAltitudeFt + 8192, low byte first
//   26, 27, 28 HighestAltitudeDate: day, month, year - 2000 (day 0 = none)
enum SeasonByte : int32_t {
  kStartDate = 6,
  kCount = 9,
  kHours = 11,
  kMinutes = 13,
  kSeconds = 14,
  kAscent = 15,
  kDescent = 18,
  kEnergy = 21,
  kHighest = 24,
  kHighestDate = 26,
};

// A clearing message that carries a byte carries 1.
constexpr int32_t kClearMark = 1;

int32_t LowFirst(const ImageReader& image, int32_t index, int32_t bytes) {
  int32_t value = 0;
  for (int32_t i = bytes - 1; i >= 0; --i)
    value = value << 8 | image.byte(index + i);
  return value;
}

int32_t DateAt(const ImageReader& image, int32_t index) {
  return OutdoorDate(image.byte(index), image.byte(index + 1), image.byte(index + 2));
}

}  // namespace

int32_t OutdoorDate(int32_t day, int32_t month, int32_t year_byte) {
  return day == 0 ? 0 : codec::MakeDate(day, month, 2000 + year_byte);
}

void UnPackSeasonTotals(OutdoorSeasonTotals& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kSeasonTotalsSize;
  const ImageReader image(outdoor::kSeasonRead, 1);
  r.SeasonStartDate = DateAt(image, kStartDate);
  r.ExerciseCount = LowFirst(image, kCount, 2);
  r.ExerciseTime =
      LowFirst(image, kHours, 2) * 3600 + image.byte(kMinutes) * 60 + image.byte(kSeconds);
  r.AscentFt = LowFirst(image, kAscent, 3);
  r.AscentM = FeetToMetres(r.AscentFt);
  r.DescentFt = LowFirst(image, kDescent, 3);
  r.DescentM = FeetToMetres(r.DescentFt);
  r.EnergyKcal = LowFirst(image, kEnergy, 3);
  r.HighestAltitudeFt = (LowFirst(image, kHighest, 2) & 0x7FFF) - kAltitudeBias;
  r.HighestAltitudeM = FeetToMetres(r.HighestAltitudeFt);
  r.HighestAltitudeDate = DateAt(image, kHighestDate);
}

int32_t ReadSeasonTotals(CommParams& params, OutdoorSeasonTotals& record) {
  return ReadSettings(params, outdoor::kSeasonRead, 0, [&] { UnPackSeasonTotals(record); });
}

int32_t SendClearing(CommParams& params, int32_t message, int32_t payload_bytes, void* record,
                     size_t record_size, int32_t size_field) {
  SendSteps steps;
  steps.write_message = message;
  steps.prepare = [&] {
    if (payload_bytes > 0) ImageWriter(message, 1).byte(5, kClearMark);
    protocol::SealMessageImage(message, 0, 0);
    return true;
  };
  auto cleared = [&] {
    std::memset(record, 0, record_size);
    std::memcpy(record, &size_field, sizeof size_field);
    return 1;
  };
  steps.unpack_loaded = cleared;
  steps.after_delivery = [&](Delivery) { return cleared(); };
  return SendSettings(params, steps);
}

int32_t ClearSeasonTotals(CommParams& params, OutdoorSeasonTotals& record) {
  return SendClearing(params, outdoor::kSeasonClear, 1, &record, sizeof record, kSeasonTotalsSize);
}

}  // namespace quibra::settings

#include "exercise/file_info.h"

#include <array>
#include <cstring>
#include <string_view>

#include "codec/charset.h"
#include "codec/unit_families.h"
#include "exercise/analysis.h"
#include "exercise/exercise_locator.h"
#include "exercise/field_readers.h"
#include "exercise/record_store.h"
#include "frame/module.h"

namespace quibra::exercise {
namespace {

// The older units write their texts in device character table 0.
constexpr int32_t kOlderUnitTable = 0;
constexpr int32_t kUnknownCharacter = ' ';

// Outdoor header offsets.
constexpr int32_t kOutdoorDate = 3;  // B at 3, A at 4
constexpr int32_t kOutdoorStart = 5;
constexpr int32_t kOutdoorInterval = 12;
constexpr int32_t kOutdoorDuration = 13;

// K-series header offsets.
constexpr int32_t kKind = 3;
constexpr int32_t kName = 4;
constexpr int32_t kNameLength = 7;
constexpr int32_t kStartSeconds = 11;
constexpr int32_t kStartHours = 13;
constexpr int32_t kDay = 14;
constexpr int32_t kYear = 15;
constexpr int32_t kMonth = 16;
constexpr int32_t kDuration = 17;
constexpr int32_t kOptions = 26;
constexpr int32_t kSensor = 27;
constexpr int32_t kHeadLengthHigh = 2;  // the exercise head's high length byte

// Names the units show for exercises recorded without a programme.
constexpr std::string_view kBasicUse = "BasicUse";
constexpr std::string_view kBasicSet = "BasicSet";
constexpr int32_t kBasicUseKind = 0;
constexpr int32_t kBasicSetKind = 8;  // type 13 only

// Interval code -> seconds by family; code 3 is R-R recording on type 13 and 5 minutes on the
// outdoor units. Any other code is 5 s.
constexpr std::array<int32_t, 4> kKSeriesIntervals = {5, 15, 60, 5};
constexpr std::array<int32_t, 4> kOutdoorIntervals = {5, 15, 60, 300};
constexpr int32_t kType13RrCode = 3;
constexpr int32_t kOtherInterval = 5;

// The sport exercise name: up to 8 device codes from image position 23; bit 7 ends the name.
constexpr int32_t kSportName = 23;
constexpr int32_t kSportNameLength = 8;

void CopyName(ExeFileInfo& info, std::string_view name) {
  std::memcpy(info.Name, name.data(), name.size());
  info.Name[name.size()] = '\0';
}

int32_t ToSeconds(int32_t tenths) {
  return tenths / 10;
}

void FillOutdoor(const MemoryReader& m, int32_t e, ExeFileInfo& info) {
  info.StartDate = PackedDate(m.byte(e + kOutdoorDate + 1), m.byte(e + kOutdoorDate));
  info.StartTime = ToSeconds(TimeTriple(m, e + kOutdoorStart));
  info.Duration = ToSeconds(TimeTriple(m, e + kOutdoorDuration));
  const int32_t code = m.byte(e + kOutdoorInterval);
  info.Interval = code < 4 ? kOutdoorIntervals[static_cast<size_t>(code)] : kOtherInterval;
}

void FillKSeries(const MemoryReader& m, int32_t type, const ExerciseRegions& r, ExeFileInfo& info) {
  const int32_t e = r.start;
  const int32_t kind = m.byte(e + kKind);
  if (kind == kBasicUseKind) {
    CopyName(info, kBasicUse);
  } else if (type == 13 && kind == kBasicSetKind) {
    CopyName(info, kBasicSet);
  } else {
    for (int32_t i = 0; i < kNameLength; ++i) {
      info.Name[i] = static_cast<char>(codec::DeviceCodeToChar(m.byte(e + kName + i) & 0x7F,
                                                               kUnknownCharacter, kOlderUnitTable));
    }
  }
  const int32_t hours_byte = m.byte(e + kStartHours);
  const int32_t day_byte = m.byte(e + kDay);
  const bool twelve_hour = (day_byte & 0x80) != 0;
  info.TwelveHour = twelve_hour ? 1 : 0;
  const int32_t hour =
      Hour24(codec::BcdToBin(hours_byte & 0x7F), twelve_hour, (hours_byte & 0x80) != 0);
  info.StartTime = hour * 3600 + codec::BcdToBin(m.byte(e + kStartSeconds + 1)) * 60 +
                   codec::BcdToBin(m.byte(e + kStartSeconds));
  info.StartDate =
      KSeriesDate(m.byte(e + kYear), m.byte(e + kMonth) & 15, codec::BcdToBin(day_byte & 0x7F));
  info.Duration = ToSeconds(TimeTriple(m, e + kDuration));
  info.ExtendedLaps = (m.byte(e + kOptions) & 0x80) != 0 ? 1 : 0;
  int32_t interval_at = e + kSensor;
  if (HasSensorByte(type)) {
    const SensorChannels c = ReadSensorChannels(m.byte(e + kSensor), type, r.unit_version);
    info.Speed = c.speed ? 1 : 0;
    info.Altitude = c.altitude ? 1 : 0;
    info.Cadence = c.cadence ? 1 : 0;
    info.Power = c.power ? 1 : 0;
    info.SensorCode = c.speed_code;
    ++interval_at;
  }
  const int32_t code = m.byte(interval_at) & 15;
  if (type == 13 && code == kType13RrCode) {
    info.Interval = kRrInterval;
  } else {
    info.Interval = code < 4 ? kKSeriesIntervals[static_cast<size_t>(code)] : kOtherInterval;
  }
}

}  // namespace

int32_t GetExeFileInfo(int32_t index, ExeFileInfo& info) {
  info = ExeFileInfo{};
  info.Size = QUIBRA_EXE_FILE_INFO_SIZE;
  Module& m = module();
  if (index == 0) RefreshUnitFromSingleImage();
  const MemoryReader memory(m.exercise_memory);
  const int32_t type = m.unit.type;
  const auto regions = LocateExercise(memory, type, index, ImageMode::kSingleExercise);
  if (!regions) return 0;
  const int32_t e = regions->start;
  // Type 11 units of version 1 do not keep the marker.
  const bool marker_used = !(type == 11 && regions->unit_version == 1);
  info.MarkerBit = marker_used && (memory.byte(e + kHeadLengthHigh) & 0x80) != 0 ? 1 : 0;
  if (codec::IsOutdoor(type)) {
    FillOutdoor(memory, e, info);
  } else {
    FillKSeries(memory, type, *regions, info);
  }
  return 1;
}

int32_t SportExeName(char* buffer) {
  if (buffer == nullptr) return 0;
  const MemoryReader memory(module().exercise_memory);
  int32_t written = 0;
  while (written < kSportNameLength) {
    const int32_t code = memory.byte(kSportName + written);
    buffer[written++] =
        static_cast<char>(codec::DeviceCodeToChar(code & 0x7F, kUnknownCharacter, kOlderUnitTable));
    if ((code & 0x80) != 0) break;
  }
  return written;
}

}  // namespace quibra::exercise

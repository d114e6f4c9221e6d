#include "exercise/exercise_locator.h"

#include <algorithm>
#include <array>

#include "codec/bcd.h"
#include "codec/unit_families.h"
#include "exercise/exercise_checks.h"

namespace quibra::exercise {
namespace {

// Where the exercise chain starts in each kind of image.
constexpr int32_t kSingleChainStart = 4;
constexpr int32_t kWholeChainStartOutdoor = 83;
constexpr int32_t kWholeChainStart = 79;
constexpr int32_t kWholeVersionPosition = 3;
constexpr int32_t kSingleVersionPosition = 4;

struct HeaderSize {
  int32_t monitor_type;
  int32_t size;
};

// Header sizes; type 22 grows to kLateType22Header from unit version 3 on.
constexpr std::array<HeaderSize, 7> kHeaderSizes = {{
    {11, 78},
    {15, 78},
    {12, 109},
    {13, 121},
    {20, 71},
    {21, 71},
    {22, 120},
}};
constexpr int32_t kLateType22Header = 130;
constexpr int32_t kType23Header = 120;
constexpr int32_t kOutdoorLapSize = 22;

std::optional<int32_t> HeaderSizeOf(int32_t type, int32_t unit_version) {
  if (type == 22 && unit_version >= 3) return kLateType22Header;
  if (type == 23) return kType23Header;
  for (const auto& entry : kHeaderSizes) {
    if (entry.monitor_type == type) return entry.size;
  }
  return std::nullopt;
}

// The lap size of the sensor-byte units (12, 22, 23): the base lap, the altitude group, and
// with a speed sensor the cadence, power and distance/speed groups, plus the extended bytes.
int32_t SensorLapSize(const SensorChannels& c, bool extended) {
  int32_t size = c.altitude ? 11 : 6;
  if (c.speed) {
    size += (c.cadence ? 1 : 0) + (c.power ? 4 : 0);
    size += extended ? 5 : 4;
  }
  return size + (extended ? 4 : 0);
}

}  // namespace

bool HasSensorByte(int32_t monitor_type) {
  return monitor_type == 12 || monitor_type == 22 || monitor_type == 23;
}

SensorChannels ReadSensorChannels(int32_t sensor, int32_t monitor_type, int32_t unit_version) {
  SensorChannels c;
  c.speed_code = (sensor >> 4) & 15;
  c.speed = c.speed_code != 0;
  c.altitude = (sensor & 0x02) != 0;
  const bool ignored = monitor_type == 22 && unit_version >= 3 && c.speed_code == 1;
  c.cadence = (sensor & 0x04) != 0 && !ignored;
  c.power = (sensor & 0x08) != 0 && !ignored;
  return c;
}

int32_t UnitVersion(const MemoryReader& memory, ImageMode mode) {
  return memory.byte(mode == ImageMode::kWholeMemory ? kWholeVersionPosition
                                                     : kSingleVersionPosition);
}

std::optional<ExerciseRegions> LocateExercise(const MemoryReader& memory, int32_t monitor_type,
                                              int32_t index, ImageMode mode) {
  ExerciseRegions r;
  r.unit_version = UnitVersion(memory, mode);
  const auto header = HeaderSizeOf(monitor_type, r.unit_version);
  if (!header || index < 0) return std::nullopt;
  r.header_size = *header;

  int32_t start = kSingleChainStart;
  if (mode == ImageMode::kWholeMemory) {
    start = codec::IsOutdoor(monitor_type) ? kWholeChainStartOutdoor : kWholeChainStart;
  }
  const auto length_at = [&](int32_t e) {
    return memory.byte(e + 1) | ((memory.byte(e + 2) & 0x7F) << 8);
  };
  // A length of 0 ends the chain, and so does the end of the image; a length that runs past
  // the image breaks it, and nothing after it can be found.
  for (int32_t n = 0; n < index; ++n) {
    const int32_t length = length_at(start);
    if (length == 0) return std::nullopt;
    if (start + length - 1 > memory.count()) {
      RejectExercise(n, BadLength(length));
      return std::nullopt;
    }
    if (start + length > memory.count()) return std::nullopt;
    start += length;
  }
  r.start = start;
  r.length = length_at(start);
  if (r.length == 0) return std::nullopt;
  const int32_t last = start + r.length - 1;
  if (r.length <= r.header_size || last > memory.count()) {
    RejectExercise(index, BadLength(r.length));
    return std::nullopt;
  }

  const int32_t e = start;
  const int32_t h = r.header_size;
  int32_t extra_sample_offset = 0;
  if (codec::IsOutdoor(monitor_type)) {
    r.lap_count = memory.byte(e + 11);
    r.lap_size = kOutdoorLapSize;
    r.sample_end = last - 1;
  } else {
    r.lap_count = codec::BcdToBin(memory.byte(e + 22));
    r.extended_laps = (memory.byte(e + 26) & 0x80) != 0;
    r.sample_end = last;
    const int32_t sensor = memory.byte(e + 27);
    if (HasSensorByte(monitor_type)) {
      r.lap_size =
          SensorLapSize(ReadSensorChannels(sensor, monitor_type, r.unit_version), r.extended_laps);
    } else {
      r.lap_size = r.extended_laps ? 10 : 6;
      if (monitor_type == 13 && sensor == 3) extra_sample_offset = 6;
    }
  }
  // A lap count larger than the space before the sample end is cut to the laps that fit.
  const int32_t room = std::max(r.sample_end - (e + h), 0);
  r.lap_count = std::min(r.lap_count, room / r.lap_size);
  r.lap_start = e + h + 1;
  r.sample_start = std::min(e + h + r.lap_count * r.lap_size + extra_sample_offset, r.sample_end);
  return r;
}

}  // namespace quibra::exercise

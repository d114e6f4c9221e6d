// Layout B, the exercise files of types 34 and 38. Positions count from 1 as the exercise memory
// does; 16-bit values are low byte first. Where a field shares its form with layout A (types 33,
// 35, 36, 37) it is read the same way.
//
// Fixed header (as layout A but for byte 20)
//   3 product code, 5 unit version, 6..15 name, 16..17 value (param 153)
//   19  sensors: bit 0 altitude, bit 1 cadence (not with bit 4), bit 2 power (type 34 only),
//       bit 3 speed, bit 4 extra values (with speed)                      flags 9, 10, 11, 8, 23
//   20  bits 0..2 interval 1, 2, 5, 15, 60 s; bit 3 R-R capable; bit 4 samples incomplete
//                                                                     params 12, 146, 147
//   21 param 152; 22..23 packed date; 24..26 BCD start; 27..29 duration; 30..32 params 36, 37,
//   35 (flag 21 unless all 0); 33..34 params 80, 91; 36 param 134; 37 param 26; 38 param 89;
//   39..41 params 148..150, 41 also the temperature of param 81 without altitude; 42..43 × 10
//   param 151; 47 bits 0..6 lap count
// Summary, every group always present (bytes of an absent sensor are 0 and not stored)
//   53..54 max speed, 55..56 average speed (1/256 km/h)                params 44, 43 (1/10 km/h)
//   57..59 distance, three bytes as in layout A                        params 38, 169
//   60, 61 average and maximum cadence                                 params 104, 103
//   62..67 three altitudes + 768                                       params 41, 101, 42
//   68..70 three temperatures (degrees F from -22)                     params 81, 99, 82
//   71..72, 73..74 ascent and descent (feet)                           params 39, 102 (m)
//   75..76, 77..78 average and maximum power                           params 78, 79
//   79, 80 pedalling bytes / 2                                         params 107, 106
//   81..82 value × 10 / 256                                            param 141
//   83..84 time scale in 1/1000 (0 counts as 1000)                     param 142
//   85 byte                                                            param 167
//   86..127 as layout A's last group: one unused byte, eleven bytes (params 115, 117, 119, 121,
//           123, 160..165), ten BCD time triples (params 125..129, 155..159)
// Paged data area at 128, as layout A (kind 0 samples, kind 2 R-R intervals).
// Sample records (prvc_samples.h): heart rate (not when R-R capable), altitude (feet), speed
//   16-bit in 1/16 km/h at every interval then the 16-bit record distance, cadence, the 8 bytes
//   of extra values, power and the two pedalling bytes; markers of all 255 as in layout A.
// Laps, read backwards from the end of the file, each:
//   0..2  split time as layout A, bit 7 of byte 2 the lap kind   fields 601 (× time scale), 648
//   3..5  heart rate, average, maximum                            fields 607, 609, 610
//   speed (7): speed, average speed (1/256 km/h), distance        fields 611, 612, 604
//   cadence (2): cadence, average cadence (at most 199)           fields 613, 614
//   altitude (5): altitude + 768, temperature, ascent (feet)      fields 615, 621, 636
//   power (6): power, a 16-bit value, two pedalling bytes         fields 617, 619, 652
// Left out: the 16-bit distance of each sample record (the record has no distance channel;
// distances reach the application in the summary and the laps), and the extra data of kind 1.
#include "exercise/prvc_file_decoder_b.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "exercise/field_readers.h"
#include "exercise/prvc_file_fields.h"
#include "exercise/prvc_paged_data.h"
#include "exercise/prvc_samples.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kSensors = 19;
constexpr int32_t kOptions = 20;
constexpr int32_t kHeaderTemperature = 41;
constexpr int32_t kLapCount = 47;
constexpr int32_t kScale = 83;
constexpr int32_t kByte167 = 85;
constexpr int32_t kZoneGroup = 86;
constexpr int32_t kDirectory = 128;
constexpr std::array<int32_t, 5> kIntervals = {1, 2, 5, 15, 60};
constexpr int32_t kAltitudeOffset = 768;
constexpr double kSpeedPerTenthKmh = 25.6;
constexpr int32_t kScaleOne = 1000;
constexpr int32_t kAverageCadenceCap = 199;

// The header fields that layout B keeps where layout A has them: position, parameter.
struct HeaderByte {
  int32_t position;
  int32_t param;
};
constexpr std::array<HeaderByte, 9> kHeaderBytes = {{
    {21, 152},
    {30, 36},
    {31, 37},
    {32, 35},
    {36, 134},
    {37, 26},
    {38, 89},
    {39, 148},
    {40, 149},
}};
constexpr std::array<int32_t, 11> kByteParams = {115, 117, 119, 121, 123, 160,
                                                 161, 162, 163, 164, 165};
constexpr std::array<int32_t, 10> kTimeParams = {125, 126, 127, 128, 129, 155, 156, 157, 158, 159};

struct Layout {
  bool speed = false, cadence = false, altitude = false, power = false, extra = false;
  bool rr_capable = false, summary = false;
  int32_t interval = 0;
  int32_t laps = 0;
  bool any_sensor() const { return speed || cadence || altitude || power; }
  int32_t lap_size() const {
    return 6 + (speed ? 7 : 0) + (cadence ? 2 : 0) + (altitude ? 5 : 0) + (power ? 6 : 0);
  }
};

int32_t Round(double x) {
  return static_cast<int32_t>(std::lround(x));
}

void StoreSummary(const MemoryReader& m, const Layout& l, int32_t scale, ExerciseStore& s) {
  const auto param = [&](int32_t id, int32_t v) { s.SetExerciseParam(kRec, id, v); };
  param(153, m.u16(16));
  for (const HeaderByte& h : kHeaderBytes)
    param(h.param, m.byte(h.position));
  param(150, m.byte(kHeaderTemperature));
  param(9, PackedDate(m.byte(23), m.byte(22)));
  param(10, TimeTriple(m, 24));
  const int32_t tenths = FileDurationTenths(m, 27, 0xFF);
  param(11, tenths * 100);
  param(40, tenths / 10);
  if (l.summary) {
    param(80, m.u16(33));
    param(91, m.u16(33));
  }
  if (!l.altitude) param(81, FileTemperatureTenths(m.byte(kHeaderTemperature)));
  param(151, m.u16(42) * 10);
  param(146, l.rr_capable ? 1 : 0);
  param(147, (m.byte(kOptions) & 0x10) != 0 ? 1 : 0);
  if (l.speed) {
    param(44, Round(m.u16(53) / kSpeedPerTenthKmh));
    param(43, Round(m.u16(55) / kSpeedPerTenthKmh));
    const double d = FileDistance(m, 57);
    param(38, Round(d / 100));
    param(169, Round(100 * d));
  }
  if (l.cadence) {
    param(104, m.byte(60));
    param(103, m.byte(61));
  }
  if (l.altitude) {
    param(41, m.u16(62) - kAltitudeOffset);
    param(101, m.u16(64) - kAltitudeOffset);
    param(42, m.u16(66) - kAltitudeOffset);
    param(81, FileTemperatureTenths(m.byte(68)));
    param(99, FileTemperatureTenths(m.byte(69)));
    param(82, FileTemperatureTenths(m.byte(70)));
    param(39, FeetToMetres(m.u16(71)));
    param(102, FeetToMetres(m.u16(73)));
  }
  if (l.power) {
    param(78, m.u16(75));
    param(79, m.u16(77));
    param(107, m.byte(79) / 2);
    param(106, m.byte(80) / 2);
    param(141, Round(m.u16(81) * 10 / 256.0));
  }
  param(142, scale);
  param(167, m.byte(kByte167));
  int32_t at = kZoneGroup + 1;
  for (const int32_t id : kByteParams)
    param(id, m.byte(at++));
  for (const int32_t id : kTimeParams) {
    param(id, TimeTriple(m, at));
    at += 3;
  }
}

void StoreLap(const MemoryReader& m, const Layout& l, int32_t scale, bool speed_values, int32_t at,
              ExerciseStore& s) {
  // The unit's clock runs by its time scale; the split time is brought to real time.
  const int32_t time =
      Round(static_cast<double>(FileDurationTenths(m, at, 0x7F)) * scale / kScaleOne);
  const int32_t index = s.InsertLap(kRec, time, false);
  if (index < 0) return;
  const auto set = [&](int32_t field, int32_t v) { s.SetLapField(kRec, index, field, v, true); };
  set(601, time);
  set(648, (m.byte(at + 2) & 0x80) != 0 ? 2 : 1);
  set(607, m.byte(at + 3));
  set(609, m.byte(at + 4));
  set(610, m.byte(at + 5));
  int32_t p = at + 6;
  if (l.speed) {
    if (speed_values) {
      set(611, Round(m.u16(p) / kSpeedPerTenthKmh));
      set(612, Round(m.u16(p + 2) / kSpeedPerTenthKmh));
      set(604, Round(FileDistance(m, p + 4)));
    }
    p += 7;
  }
  if (l.cadence) {
    set(613, m.byte(p));
    set(614, std::min(m.byte(p + 1), kAverageCadenceCap));
    p += 2;
  }
  if (l.altitude) {
    set(615, m.u16(p) - kAltitudeOffset);
    set(621, FileTemperatureTenths(m.byte(p + 2)));
    set(636, FeetToMetres(m.u16(p + 3)));
    p += 5;
  }
  if (l.power) {
    set(617, m.u16(p));
    set(619, m.u16(p + 2));
    set(652, (m.byte(p + 4) + m.byte(p + 5)) * 10 / 256);
  }
  set(659, index + 1);
}

}  // namespace

int32_t DecodeFileExerciseB(const MemoryReader& m, ExerciseStore& s, int32_t type, int32_t index,
                            RrDecoding rr) {
  if (index != 0) return 0;
  const int32_t sensors = m.byte(kSensors);
  const int32_t options = m.byte(kOptions);
  const auto code = static_cast<size_t>(options & 7);
  if (code >= kIntervals.size()) return 0;
  Layout l;
  l.speed = (sensors & 0x08) != 0;
  l.altitude = (sensors & 0x01) != 0;
  l.power = type == 34 && (sensors & 0x04) != 0;
  l.extra = l.speed && (sensors & 0x10) != 0;
  l.cadence = (sensors & 0x02) != 0 && (sensors & 0x10) == 0;
  l.rr_capable = (options & 0x08) != 0;
  l.summary = m.byte(30) != 0 || m.byte(31) != 0 || m.byte(32) != 0;
  l.interval = kIntervals[code];
  l.laps = m.byte(kLapCount) & 0x7F;
  const int32_t lap_end = m.count() + 1;
  const auto pages = ReadPagedData(m, kDirectory, lap_end);
  if (!pages) return 0;

  const bool rr_only = rr == RrDecoding::kRrOnly && l.rr_capable;
  Layout shown = l;
  if (rr_only) shown.speed = shown.cadence = shown.altitude = shown.power = shown.extra = false;
  const bool rr_recording = l.rr_capable && !shown.any_sensor();
  StoreShownSensors({shown.speed, shown.altitude, shown.power, shown.extra, shown.any_sensor()},
                    rr_recording ? kRrInterval : l.interval, s);
  s.SetExerciseFlag(kRec, 10, shown.cadence ? 1 : 0);
  s.SetExerciseFlag(kRec, 21, l.summary ? 1 : 0);
  const int32_t raw_scale = m.u16(kScale);
  const int32_t scale = raw_scale == 0 ? kScaleOne : raw_scale;
  StoreSummary(m, l, scale, s);

  ForEachLap(*pages, lap_end, l.lap_size(), l.laps,
             [&](int32_t at) { StoreLap(m, l, scale, !rr_only, at, s); });
  const SampleFormat f{.heart_rate = !l.rr_capable,
                       .altitude = l.altitude,
                       .speed = l.speed,
                       .wide_speed = true,
                       .speed_distance = true,
                       .cadence = l.cadence,
                       .cadence_shown = l.cadence,
                       .extra = l.extra,
                       .power = l.power};
  StoreFileData(*pages, f,
                {.interval = l.interval,
                 .rr_capable = l.rr_capable,
                 .summary = l.summary,
                 .rr_recording = rr_recording,
                 .extended = shown.any_sensor()},
                s);
  return 1;
}

}  // namespace quibra::exercise

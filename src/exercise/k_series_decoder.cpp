#include "exercise/k_series_decoder.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>

#include "codec/bcd.h"
#include "codec/dates.h"
#include "codec/unit_families.h"
#include "exercise/exercise_checks.h"
#include "exercise/field_readers.h"
#include "exercise/time_format.h"
#include "frame/module.h"

namespace quibra::exercise {
namespace {

using codec::BcdToBin;

constexpr int32_t kRec = 0;

// Header offsets as the units without a sensor byte (11, 13, 15) lay them out; the units with
// one (12, 22, 23) keep every byte from kShiftFrom on one position later, behind the sensor byte.
constexpr int32_t kShiftFrom = 27;
constexpr int32_t kKind = 3;
constexpr int32_t kStartSeconds = 11;
constexpr int32_t kStartHours = 13;
constexpr int32_t kDay = 14;
constexpr int32_t kYear = 15;
constexpr int32_t kMonthTenths = 16;
constexpr int32_t kDuration = 17;
constexpr int32_t kHeaderBytes = 20;
constexpr int32_t kOptions = 26;
constexpr int32_t kSensor = 27;        // units with a sensor byte only
constexpr int32_t kInterval = 27;      // shifted
constexpr int32_t kLapType = 28;       // shifted
constexpr int32_t kLimits = 29;        // shifted: three pairs
constexpr int32_t kRecovery = 35;      // shifted: BCD seconds, minutes
constexpr int32_t kRecoveryByte = 37;  // shifted
constexpr int32_t kZoneTimes = 38;     // shifted: nine triples
constexpr int32_t kTotal = 70;         // shifted: three bytes of BCD digits

// Bytes that only the sensor-byte units have (their own offsets, no shift applied).
constexpr int32_t kStartLimitSet = 67;  // type 22
constexpr int32_t kTripCounter = 83;
constexpr int32_t kTrip38 = 86;
constexpr int32_t kSpeedSummary = 88;
constexpr int32_t kCadenceSummary = 91;
constexpr int32_t kAltitudeSummary = 93;
constexpr int32_t kSignedSummary = 99;
constexpr int32_t kTrip39 = 102;
constexpr int32_t kPowerSummary = 104;
constexpr int32_t kPedalling = 107;
constexpr int32_t kFourthLimits = 110;  // types 22, 23
constexpr int32_t kLateTimes = 112;     // types 22, 23: three triples
constexpr int32_t kMaxHeartRate = 130;  // type 22
constexpr int32_t kType13Limits = 110;  // type 13: three pairs as plain bytes

// Limits given as times: where each pair's three BCD bytes (c1, c2, d) lie, by set.
constexpr std::array<std::array<int32_t, 3>, 4> kTimeLimitBytes = {
    {{30, 31, 32}, {33, 34, 35}, {110, 111, 121}, {122, 123, 124}}};

constexpr std::array<std::array<int32_t, 2>, 4> kLimitParams = {
    {{14, 13}, {16, 15}, {18, 17}, {20, 19}}};
constexpr std::array<int32_t, 3> kLateTimeParams = {68, 67, 66};
constexpr std::array<int32_t, 3> kAltitudeParams = {101, 41, 42};
constexpr std::array<int32_t, 3> kSignedParams = {99, 81, 82};
constexpr std::array<int32_t, 3> kPedallingParams = {106, 105, 107};

// Interval code -> seconds (code 3 on type 13 means R-R recording); other codes are 5 s.
constexpr std::array<int32_t, 4> kIntervals = {5, 15, 60, 5};
// Lap-type code -> the value of lap field 625.
constexpr std::array<int32_t, 3> kLapTypes = {1, 2, 4};

constexpr int32_t kAltitudeBias = 512;
constexpr int32_t kImperialAltitudeScale = 5;
constexpr int32_t kDefaultMaxHeartRate = 200;
constexpr int32_t kWholeMemoryMaxHeartRate = 64;
constexpr int32_t kFirstSwapMarker = 251;
constexpr int32_t kLongDelta = 128;

struct Layout {
  int32_t type = 0;
  int32_t e = 0;  // exercise start
  bool sensor_unit = false;
  bool speed = false;
  bool altitude = false;
  bool cadence = false;
  bool power = false;
  bool imperial = false;
  bool extended_laps = false;
  bool limits_are_times = false;
  bool rr = false;
  int32_t lap_type = 0;  // field 625 of every lap

  // A header byte at an offset of the unshifted layout.
  int32_t at(int32_t offset) const {
    return e + offset + (sensor_unit && offset >= kShiftFrom ? 1 : 0);
  }
  // A header byte that only the sensor-byte units have.
  int32_t own(int32_t offset) const { return e + offset; }
  bool extra_channels() const { return speed || altitude || cadence || power; }
};

// The library keeps the maximum heart rate of the first exercise that needs one until the next
// download: byte 64 of a whole-memory image, else 200.
int32_t FallbackMaxHeartRate(const MemoryReader& m, ImageMode mode) {
  std::atomic<int32_t>& cached = module().analysis.max_heart_rate;
  if (cached == 0) {
    cached =
        mode == ImageMode::kWholeMemory ? m.byte(kWholeMemoryMaxHeartRate) : kDefaultMaxHeartRate;
  }
  return cached;
}

void DecodeLimits(const MemoryReader& m, ExerciseStore& s, const Layout& l, ImageMode mode) {
  const int32_t options = m.byte(l.own(kOptions));
  const int32_t h = m.byte(l.at(kInterval)) >> 4;
  std::array<std::array<int32_t, 2>, 4> values{};
  std::array<bool, 4> present{};
  if (l.limits_are_times) {
    s.SetExerciseParam(kRec, 132, 1);
    for (size_t i = 0; i < kTimeLimitBytes.size(); ++i) {
      const auto& b = kTimeLimitBytes[i];
      const int32_t centre =
          codec::BcdToBin(m.byte(l.own(b[0]))) * 60 + codec::BcdToBin(m.byte(l.own(b[1])));
      const int32_t spread = codec::BcdToBin(m.byte(l.own(b[2])));
      values[i] = {centre + spread, centre - spread};
      present[i] = true;
    }
  } else {
    for (size_t i = 0; i < 3; ++i) {
      present[i] = (options & (0x10 << i)) != 0;
      const int32_t at = l.at(kLimits) + 2 * static_cast<int32_t>(i);
      values[i] = {m.byte(at), m.byte(at + 1)};
    }
    if (l.type == 13) {
      const int32_t kind = m.byte(l.own(kKind));
      if (kind != 0 && kind != 8) {
        for (size_t i = 0; i < 3; ++i) {
          const int32_t at = l.own(kType13Limits) + 2 * static_cast<int32_t>(i);
          values[i] = {m.byte(at), m.byte(at + 1)};
        }
      }
    }
    if (l.type == 22 || l.type == 23) {
      values[3] = {m.byte(l.own(kFourthLimits)), m.byte(l.own(kFourthLimits + 1))};
      present[3] = true;
    }
    if ((l.type == 22 || l.type == 23) && (h & 1) != 0) {
      int32_t max_hr = l.type == 22 ? m.byte(l.own(kMaxHeartRate)) : 0;
      if (max_hr == 0 || max_hr == 20) max_hr = FallbackMaxHeartRate(m, mode);
      for (auto& pair : values) {
        for (auto& v : pair)
          v = RoundHalfUp(v / 100.0 * max_hr);
      }
    }
  }
  for (size_t i = 0; i < values.size(); ++i) {
    if (!present[i]) continue;
    s.SetExerciseParam(kRec, kLimitParams[i][0], values[i][0]);
    s.SetExerciseParam(kRec, kLimitParams[i][1], values[i][1]);
  }
}

Layout ReadLayout(const MemoryReader& m, int32_t type, const ExerciseRegions& r) {
  Layout l;
  l.type = type;
  l.e = r.start;
  l.sensor_unit = HasSensorByte(type);
  const int32_t options = m.byte(l.own(kOptions));
  l.imperial = (options & 0x02) != 0;
  l.extended_laps = r.extended_laps;
  if (l.sensor_unit) {
    const SensorChannels c = ReadSensorChannels(m.byte(l.own(kSensor)), type, r.unit_version);
    l.speed = c.speed;
    l.altitude = c.altitude;
    l.cadence = c.cadence;
    l.power = c.power;
  }
  const int32_t interval = m.byte(l.at(kInterval));
  l.rr = type == 13 && (interval & 15) == 3;
  l.limits_are_times = type == 22 && ((interval >> 4) & 2) != 0;
  if ((options & 0x04) != 0) {
    const int32_t code = m.byte(l.at(kLapType)) & 15;
    l.lap_type = code < static_cast<int32_t>(kLapTypes.size()) ? kLapTypes[code] : 0;
  }
  return l;
}

int32_t StartYear(const MemoryReader& m, const Layout& l) {
  int32_t year = 2000 + codec::BcdToBin(m.byte(l.own(kYear)));
  return year > 2089 ? year - 100 : year;
}

int32_t StartHour(const MemoryReader& m, const Layout& l) {
  const int32_t hours_byte = m.byte(l.own(kStartHours));
  return Hour24(codec::BcdToBin(hours_byte & 0x7F), (m.byte(l.own(kDay)) & 0x80) != 0,
                (hours_byte & 0x80) != 0);
}

std::optional<BadField> CheckHeader(const MemoryReader& m, const Layout& l) {
  return CheckStart(StartYear(m, l), m.byte(l.own(kMonthTenths)) & 15,
                    codec::BcdToBin(m.byte(l.own(kDay)) & 0x7F), StartHour(m, l),
                    codec::BcdToBin(m.byte(l.own(kStartSeconds + 1))),
                    codec::BcdToBin(m.byte(l.own(kStartSeconds))));
}

void DecodeHeader(const MemoryReader& m, ExerciseStore& s, Layout& l, ImageMode mode) {
  const int32_t hours_byte = m.byte(l.own(kStartHours));
  const int32_t day_byte = m.byte(l.own(kDay));
  const int32_t hour =
      Hour24(codec::BcdToBin(hours_byte & 0x7F), (day_byte & 0x80) != 0, (hours_byte & 0x80) != 0);
  s.SetExerciseParam(kRec, 10,
                     (hour * 3600 + codec::BcdToBin(m.byte(l.own(kStartSeconds + 1))) * 60 +
                      codec::BcdToBin(m.byte(l.own(kStartSeconds)))) *
                         10);
  const int32_t month_tenths = m.byte(l.own(kMonthTenths));
  s.SetExerciseParam(
      kRec, 9,
      KSeriesDate(m.byte(l.own(kYear)), month_tenths & 15, codec::BcdToBin(day_byte & 0x7F)));
  s.SetExerciseParam(kRec, 11, (TimeTriple(m, l.own(kDuration)) + (month_tenths >> 4)) * 100);
  s.SetExerciseParam(kRec, 36, m.byte(l.own(kHeaderBytes)));
  s.SetExerciseParam(kRec, 37, m.byte(l.own(kHeaderBytes + 1)));
  const int32_t options = m.byte(l.own(kOptions));
  s.SetExerciseParam(kRec, 8, l.imperial ? 1 : 0);
  s.SetExerciseFlag(kRec, 6, (options >> 6) & 1);
  s.SetExerciseFlag(kRec, 12, l.extended_laps ? 1 : 0);

  const int32_t code = m.byte(l.at(kInterval)) & 15;
  s.SetExerciseParam(kRec, 12, l.rr ? kRrInterval : (code < 4 ? kIntervals[code] : 5));
  DecodeLimits(m, s, l, mode);
  s.SetExerciseParam(kRec, 47,
                     (codec::BcdToBin(m.byte(l.at(kRecovery + 1))) * 60 +
                      codec::BcdToBin(m.byte(l.at(kRecovery)))) *
                         10);
  s.SetExerciseParam(kRec, 48, m.byte(l.at(kRecoveryByte)));
  for (size_t i = 0; i < kZoneTimeParams.size(); ++i) {
    s.SetExerciseParam(kRec, kZoneTimeParams[i],
                       TimeTriple(m, l.at(kZoneTimes) + 3 * static_cast<int32_t>(i)));
  }
  const int32_t total = (m.byte(l.at(kTotal)) >> 4) +
                        codec::BcdToBin(m.byte(l.at(kTotal + 1))) * 10 +
                        codec::BcdToBin(m.byte(l.at(kTotal + 2))) * 1000;
  s.SetExerciseParam(kRec, 80, total);
  s.SetExerciseParam(kRec, 91, total);

  if (l.type == 22) {
    const int32_t n = m.byte(l.own(kStartLimitSet)) & 15;
    if (n >= 2) s.RecordLimitSwap(kRec, 0, n - 1);
  }
  if (!l.sensor_unit) return;
  s.SetExerciseParam(kRec, 45,
                     codec::BcdToBin(m.byte(l.own(kTripCounter + 2))) * 10000 +
                         codec::BcdToBin(m.byte(l.own(kTripCounter + 1))) * 100 +
                         codec::BcdToBin(m.byte(l.own(kTripCounter))));
  s.SetExerciseParam(kRec, 38, m.u16(l.own(kTrip38)));
  if (l.speed) {
    s.SetExerciseParam(kRec, 43, RoundHalfUp(TwelveBit(m, l.own(kSpeedSummary), false) / 1.6));
    s.SetExerciseParam(kRec, 44, RoundHalfUp(TwelveBit(m, l.own(kSpeedSummary), true) / 1.6));
  }
  if (l.cadence) {
    s.SetExerciseParam(kRec, 103, m.byte(l.own(kCadenceSummary)));
    s.SetExerciseParam(kRec, 104, m.byte(l.own(kCadenceSummary + 1)));
  }
  if (l.altitude) {
    bool all_zero = true;
    for (size_t i = 0; i < kAltitudeParams.size(); ++i) {
      const int32_t at = l.own(kAltitudeSummary) + 2 * static_cast<int32_t>(i);
      const int32_t high = m.byte(at + 1);
      int32_t value = m.byte(at) + (high & 0x7F) * 256;
      if (value != 0) all_zero = false;
      if ((high & 0x80) == 0) value = -value;
      s.SetExerciseParam(kRec, kAltitudeParams[i], value);
    }
    if (all_zero) l.altitude = false;
  }
  for (size_t i = 0; i < kSignedParams.size(); ++i) {
    const int32_t b = m.byte(l.own(kSignedSummary) + static_cast<int32_t>(i));
    int32_t value = b & 0x7F;
    if ((b & 0x80) == 0 && !l.imperial) value = -value;
    s.SetExerciseParam(kRec, kSignedParams[i], value * 10);
  }
  s.SetExerciseParam(kRec, 39, m.u16(l.own(kTrip39)));
  if (l.power) {
    s.SetExerciseParam(kRec, 79, TwelveBit(m, l.own(kPowerSummary), false));
    s.SetExerciseParam(kRec, 78, TwelveBit(m, l.own(kPowerSummary), true));
    for (size_t i = 0; i < kPedallingParams.size(); ++i) {
      s.SetExerciseParam(kRec, kPedallingParams[i],
                         m.byte(l.own(kPedalling) + static_cast<int32_t>(i)) / 2);
    }
  }
  if (l.type == 22 || l.type == 23) {
    for (size_t i = 0; i < kLateTimeParams.size(); ++i) {
      s.SetExerciseParam(kRec, kLateTimeParams[i],
                         TimeTriple(m, l.own(kLateTimes) + 3 * static_cast<int32_t>(i)));
    }
  }
}

void SetChannelFlags(ExerciseStore& s, const Layout& l) {
  s.SetExerciseFlag(kRec, 8, l.speed ? 1 : 0);
  s.SetExerciseFlag(kRec, 9, l.altitude ? 1 : 0);
  s.SetExerciseFlag(kRec, 10, l.cadence ? 1 : 0);
  s.SetExerciseFlag(kRec, 11, l.power ? 1 : 0);
  s.SetExerciseFlag(kRec, 18, l.power ? 1 : 0);
  s.SetExerciseFlag(kRec, 19, l.power ? 1 : 0);
  s.SetExerciseFlag(kRec, 3, l.extra_channels() ? 1 : 0);
  s.SetExerciseParam(kRec, 7, l.extra_channels() ? 32 : 16);
}

// Lap-marker swaps cycle through the limit sets: none -> 1, 1 -> 2 (or 0 without a third set),
// 2 -> 0, 0 -> 1; the marker right after a 1 -> 2 step is ignored once.
struct SwapCycle {
  int32_t last = -1;
  bool skip_next = false;

  void marker(ExerciseStore& s, int32_t time, bool third_set) {
    if (skip_next) {
      skip_next = false;
      return;
    }
    int32_t next = 1;
    if (last == 1) next = third_set ? 2 : 0;
    if (last == 2) next = 0;
    if (last == 1 && next == 2) skip_next = true;
    last = next;
    s.RecordLimitSwap(kRec, time, next);
  }
};

void DecodeLaps(const MemoryReader& m, ExerciseStore& s, const Layout& l,
                const ExerciseRegions& r) {
  const int32_t duration = s.GetExerciseParam(kRec, 11) / 100;
  const bool third_set = s.GetExerciseFlag(kRec, 6) != 0;
  // The cycle continues from the last swap already recorded (the header's start set).
  SwapCycle swaps;
  const int32_t recorded = s.GetLimitSwapCount(kRec);
  if (recorded > 0) {
    int32_t time = 0;
    s.GetLimitSwap(kRec, recorded - 1, &time, &swaps.last);
  }
  for (int32_t i = 0; i < r.lap_count; ++i) {
    int32_t at = r.lap_start + i * r.lap_size;
    const int32_t index = s.GetLapCount(kRec);
    if (s.InitLap(kRec, index, true, false) != 1) return;
    const auto set = [&](int32_t field, int32_t value) {
      s.SetLapField(kRec, index, field, value, true);
    };
    const int32_t b0 = m.byte(at);
    const int32_t b1 = m.byte(at + 1);
    const int32_t tenths = (b0 >> 6) + (b1 >> 6) * 4;
    const int32_t time =
        codec::BcdToBin(m.byte(at + 2)) * 36000 + (b1 & 63) * 600 + (b0 & 63) * 10 + tenths;
    set(601, time);
    set(607, m.byte(at + 3));
    set(609, m.byte(at + 4));
    set(610, m.byte(at + 5));
    at += 6;
    if (l.sensor_unit && l.altitude) {
      const int32_t a = m.u16(at) - kAltitudeBias;
      set(615, l.imperial ? a * kImperialAltitudeScale : a);
      set(636, m.u16(at + 2));
      const int32_t t = m.byte(at + 4);
      set(621, (l.imperial ? t + 14 : t - 10) * 10);
      at += 5;
    }
    if (l.sensor_unit && l.speed) {
      if (l.cadence) set(613, m.byte(at++));
      if (l.power) {
        set(617, m.u16(at));
        at += 4;
      }
      // Distance in 1/10 km (or mile) -> m (or yd).
      set(604, m.u16(at) * (l.imperial ? 176 : 100));
      const int32_t u = m.byte(at + 2);
      const int32_t w = m.byte(at + 3);
      set(611, RoundHalfUp((u + (w & 0xF0) * 16) / 1.6));
      at += 4;
      if (l.extended_laps) set(624, (w & 15) + codec::BcdToBin(m.byte(at++)) * 10);
    }
    set(625, l.lap_type);
    if (l.extended_laps) {
      const int32_t r0 = m.byte(at);
      const int32_t r1 = m.byte(at + 1);
      const int32_t r2 = m.byte(at + 2);
      set(645, r2 * 256 + m.byte(at + 3));
      if (r2 < 254) {
        set(603, 1);
        set(626, codec::BcdToBin(r0) + codec::BcdToBin(r1) * 60);
        if (r2 != 252) set(627, r2);
      } else if (r2 == 254 && l.type != 13) {
        swaps.marker(s, time, third_set);
      }
    }
    if (time <= duration && s.IncrementLapCount(kRec) == 1) s.SetExerciseFlag(kRec, 13, 1);
  }
}

// The bytes one sample takes, used only to decide whether another sample fits above P.
int32_t SampleSize(const Layout& l) {
  const int32_t rr = l.rr ? 1 : 0;
  if (!l.speed && !l.altitude) return 1 + rr;
  int32_t speed = 0;
  if (l.speed) speed = 1 + (l.power ? (l.cadence ? 5 : 4) : (l.cadence ? 1 : 0));
  return speed + (l.altitude ? 1 : 0) + 2 + rr;
}

// One R-R delta read downwards: a single byte, or 128 followed by a low (7 bits) and a high byte.
int32_t ReadDelta(const MemoryReader& m, int32_t& pos) {
  const int32_t b = m.byte(pos--);
  if (b != kLongDelta) return b <= 127 ? b : -((256 - b) & 127);
  const int32_t lo = m.byte(pos--) & 0x7F;
  const int32_t hi = m.byte(pos--);
  const int32_t magnitude = hi * 128 + lo;
  return hi >= 64 ? -(16384 - magnitude) : magnitude;
}

void DecodeSamples(const MemoryReader& m, ExerciseStore& s, const Layout& l,
                   const ExerciseRegions& r) {
  const int32_t interval_ms = s.GetExerciseParam(kRec, 12) * 1000;
  const int32_t size = SampleSize(l);
  int64_t elapsed = 0;
  int32_t rr = 0;
  int32_t heart_rate = 0;
  SampleInput sample{};
  SampleBatch batch(s, kRec);
  for (int32_t pos = r.sample_end; pos - (size - 1) > r.sample_start;) {
    int32_t speed = 0;
    int32_t cadence = 0;
    int32_t power = 0;
    int32_t pedal_a = 0;
    int32_t pedal_b = 0;
    int32_t altitude = 0;
    if (l.speed) {
      if (l.cadence) cadence = m.byte(pos--);
      if (l.power) {
        pedal_a = m.byte(pos--);
        pedal_b = m.byte(pos--);
        power = m.byte(pos--) * 256;
        power += m.byte(pos--);
      }
      speed = m.byte(pos--);
    }
    if (l.speed || l.altitude) {
      const int32_t z = m.byte(pos--);
      speed += (z & 0xE0) * 8;
      altitude = (z & 31) * 256;
      if (l.altitude) altitude += m.byte(pos--);
    }
    int32_t step_ms = interval_ms;
    if (l.rr) {
      rr += ReadDelta(m, pos);
      heart_rate = RoundHalfUp(rr / 1.024);
      step_ms = heart_rate;
      if (heart_rate == 0) continue;  // a zero interval is no beat
    } else {
      const int32_t b = m.byte(pos--);
      if (l.type == 22 && b >= kFirstSwapMarker) {
        if (!l.limits_are_times) {
          s.RecordLimitSwap(kRec, static_cast<int32_t>((elapsed + interval_ms) / 100),
                            b - kFirstSwapMarker);
        }
      } else {
        heart_rate = b;
      }
    }
    sample.heart_rate = std::max(heart_rate, 0);
    sample.ch2 = static_cast<int32_t>(std::max(speed, 0) / 1.6 + 0.501);
    sample.ch3 = cadence;
    const int32_t metres = altitude - kAltitudeBias;
    sample.ch4 = l.imperial ? metres * kImperialAltitudeScale : metres;
    sample.ch5 = std::max(power, 0);
    sample.ch6_ch7 = (pedal_a / 2) * 256 + RoundHalfUp(pedal_b / 2.0);
    batch.append(sample);
    elapsed += step_ms;
  }
  batch.flush();
  if (l.rr) {
    s.SetExerciseParam(kRec, 11, static_cast<int32_t>(elapsed));
  } else if (elapsed + interval_ms < s.GetExerciseParam(kRec, 11)) {
    s.SetExerciseParam(kRec, 147, 1);
  }
}

}  // namespace

int32_t DecodeKSeriesExercise(const MemoryReader& memory, ExerciseStore& store,
                              int32_t monitor_type, int32_t index, ImageMode mode) {
  const auto regions = LocateExercise(memory, monitor_type, index, mode);
  if (!regions || codec::IsOutdoor(monitor_type)) return 0;
  Layout layout = ReadLayout(memory, monitor_type, *regions);
  if (const auto bad = CheckHeader(memory, layout)) return RejectExercise(index, *bad);
  // The store accepts R-R samples only from a unit it knows records them.
  store.SetExerciseParam(kRec, kParamMonitorType, monitor_type);
  store.SetExerciseParam(kRec, 83, 1);
  store.SetExerciseFlag(kRec, 21, 1);
  DecodeHeader(memory, store, layout, mode);
  SetChannelFlags(store, layout);
  DecodeLaps(memory, store, layout, *regions);
  DecodeSamples(memory, store, layout, *regions);
  store.SetExerciseParam(kRec, 40, store.GetExerciseParam(kRec, 11) / 1000);
  return 1;
}

}  // namespace quibra::exercise

#include "sim/encoders/k_series_encoder.h"

#include <array>
#include <cstdlib>

#include "codec/charset.h"

namespace quibra::sim {
namespace {

constexpr int32_t kWholeChainStart = 79;
constexpr int32_t kWholeMaxHeartRate = 64;
constexpr int32_t kOlderUnitTable = 0;
constexpr int32_t kNameLength = 7;
constexpr int32_t kAltitudeBias = 512;
constexpr int32_t kImperialAltitudeStep = 5;
constexpr int32_t kRrCode = 3;
constexpr int32_t kRrSkip = 6;  // type 13 leaves these bytes between laps and R-R samples
constexpr int32_t kSwapMarker = 254;
constexpr int32_t kFirstSampleSwap = 251;
constexpr int32_t kLongDelta = 128;

bool HasSensorByte(int32_t type) {
  return type == 12 || type == 22 || type == 23;
}

struct HeaderSizeOf {
  int32_t type;
  int32_t size;
};
constexpr std::array<HeaderSizeOf, 6> kHeaderSizes = {
    {{11, 78}, {15, 78}, {12, 109}, {13, 121}, {22, 120}, {23, 120}}};
constexpr int32_t kLateType22Header = 130;  // type 22 from unit version 3 on

int32_t HeaderSize(int32_t type, int32_t version) {
  if (type == 22 && version >= 3) return kLateType22Header;
  for (const auto& entry : kHeaderSizes) {
    if (entry.type == type) return entry.size;
  }
  return kHeaderSizes[0].size;
}

// The channels the unit really records: type 22 from version 3 on has no cadence and power with
// speed sensor code 1.
KSeriesSensors Recorded(const KSeriesExercise& x, int32_t type, int32_t version) {
  if (!HasSensorByte(type)) return {};
  KSeriesSensors s = x.sensors;
  if (type == 22 && version >= 3 && s.speed_code == 1) s.cadence = s.power = false;
  return s;
}

bool Speed(const KSeriesSensors& s) {
  return s.speed_code != 0;
}

int32_t RawAltitude(int32_t altitude, bool imperial) {
  return (imperial ? altitude / kImperialAltitudeStep : altitude) + kAltitudeBias;
}

// Writes the header; offsets of the units without a sensor byte, shifted by one from 27 on for
// the units with one.
class Header {
 public:
  Header(Bytes& out, bool sensor_unit) : out_(out), sensor_unit_(sensor_unit) {}
  size_t at(int32_t offset) const {
    return static_cast<size_t>(offset + (sensor_unit_ && offset >= 27 ? 1 : 0));
  }
  void put(int32_t offset, int32_t v) { Put8(out_, at(offset), v); }
  void own(int32_t offset, int32_t v) { Put8(out_, static_cast<size_t>(offset), v); }
  void triple(int32_t offset, int32_t seconds) { PutTriple(out_, at(offset), seconds); }
  void own_triple(int32_t offset, int32_t seconds) {
    PutTriple(out_, static_cast<size_t>(offset), seconds);
  }
  void twelve_bit_pair(int32_t offset, int32_t a, int32_t b) {
    own(offset, a);
    own(offset + 1, ((a >> 8) & 15) | ((b & 15) << 4));
    own(offset + 2, b >> 4);
  }

 private:
  Bytes& out_;
  bool sensor_unit_;
};

void PutLimits(Header& h, const KSeriesExercise& x, int32_t type) {
  const bool with_fourth = type == 22 || type == 23;
  if (x.limit_form == KSeriesLimitForm::kTime) {
    // Centre (minutes, seconds) and spread, each pair at its own place.
    constexpr std::array<std::array<int32_t, 3>, 4> kAt = {
        {{30, 31, 32}, {33, 34, 35}, {110, 111, 121}, {122, 123, 124}}};
    for (size_t i = 0; i < kAt.size(); ++i) {
      const KSeriesLimit& l = i < 3 ? x.limits[i] : x.fourth_limit;
      const int32_t centre = (l.first + l.second) / 2;
      h.own(kAt[i][0], Bcd(centre / 60));
      h.own(kAt[i][1], Bcd(centre % 60));
      h.own(kAt[i][2], Bcd((l.first - l.second) / 2));
    }
    return;
  }
  for (size_t i = 0; i < 3; ++i) {
    const int32_t offset = 29 + 2 * static_cast<int32_t>(i);
    h.put(offset, x.limits[i].first);
    h.put(offset + 1, x.limits[i].second);
    if (type == 13) {  // type 13 keeps them again as plain bytes
      h.own(110 + 2 * static_cast<int32_t>(i), x.limits[i].first);
      h.own(111 + 2 * static_cast<int32_t>(i), x.limits[i].second);
    }
  }
  if (with_fourth) {
    h.own(110, x.fourth_limit.first);
    h.own(111, x.fourth_limit.second);
  }
  if (x.limit_form == KSeriesLimitForm::kPercent && type == 22 && x.max_heart_rate != 0) {
    h.own(130, x.max_heart_rate);
  }
}

void PutSensorSummary(Header& h, const KSeriesExercise& x, const KSeriesSensors& s) {
  h.own(83, Bcd(x.trip_counter % 100));
  h.own(84, Bcd(x.trip_counter / 100 % 100));
  h.own(85, Bcd(x.trip_counter / 10000 % 100));
  h.own(86, x.trip_value);
  h.own(87, x.trip_value >> 8);
  if (Speed(s)) h.twelve_bit_pair(88, x.average_speed, x.maximum_speed);
  if (s.cadence) {
    h.own(91, x.average_cadence);
    h.own(92, x.maximum_cadence);
  }
  if (s.altitude) {
    for (size_t i = 0; i < 3; ++i) {
      const int32_t v = x.altitude_summary[i];
      const int32_t magnitude = std::abs(v);
      h.own(93 + 2 * static_cast<int32_t>(i), magnitude);
      h.own(94 + 2 * static_cast<int32_t>(i), ((magnitude >> 8) & 0x7F) | (v >= 0 ? 0x80 : 0));
    }
  }
  for (size_t i = 0; i < 3; ++i) {
    const int32_t v = x.signed_summary[i];
    h.own(99 + static_cast<int32_t>(i), (std::abs(v) & 0x7F) | (v >= 0 ? 0x80 : 0));
  }
  h.own(102, x.trip_value2);
  h.own(103, x.trip_value2 >> 8);
  if (s.power) {
    h.twelve_bit_pair(104, x.average_power, x.maximum_power);
    for (size_t i = 0; i < 3; ++i)
      h.own(107 + static_cast<int32_t>(i), x.pedalling[i]);
  }
}

void PutHeader(Bytes& out, const KSeriesExercise& x, int32_t type, const KSeriesSensors& s,
               int32_t lap_count) {
  Header h(out, HasSensorByte(type));
  h.own(3, x.kind);
  for (int32_t i = 0; i < kNameLength; ++i) {
    const int32_t ch =
        i < static_cast<int32_t>(x.name.size()) ? static_cast<unsigned char>(x.name[i]) : ' ';
    h.own(4 + i, codec::CharToDeviceCode(ch, codec::kDeviceSpace, kOlderUnitTable));
  }
  h.own(11, Bcd(x.second));
  h.own(12, Bcd(x.minute));
  int32_t hour = x.hour;
  bool pm = false;
  if (x.twelve_hour) {
    pm = hour >= 12;
    hour = hour % 12 == 0 ? 12 : hour % 12;
  }
  h.own(13, Bcd(hour) | (pm ? 0x80 : 0));
  h.own(14, Bcd(x.day) | (x.twelve_hour ? 0x80 : 0));
  h.own(15, Bcd(x.year % 100));
  h.own(16, x.month | ((x.duration_tenths % 10) << 4));
  h.triple(17, x.duration_tenths / 10);
  h.own(20, x.byte36);
  h.own(21, x.byte37);
  h.own(22, Bcd(lap_count));
  int32_t options =
      (x.imperial ? 0x02 : 0) | (x.lap_type_code >= 0 ? 0x04 : 0) | (x.extended_laps ? 0x80 : 0);
  for (size_t i = 0; i < 3; ++i) {
    if (x.limits[i].present) options |= 0x10 << i;
  }
  h.own(26, options);
  if (HasSensorByte(type)) {
    h.own(27, (x.sensors.speed_code << 4) | (x.sensors.altitude ? 0x02 : 0) |
                  (x.sensors.cadence ? 0x04 : 0) | (x.sensors.power ? 0x08 : 0));
  }
  int32_t form = 0;
  if (x.limit_form == KSeriesLimitForm::kPercent) form = 1;
  if (x.limit_form == KSeriesLimitForm::kTime) form = 2;
  h.put(27, x.interval_code | (form << 4));
  if (x.lap_type_code >= 0) h.put(28, x.lap_type_code);
  PutLimits(h, x, type);
  h.put(35, Bcd(x.recovery_seconds % 60));
  h.put(36, Bcd(x.recovery_seconds / 60));
  h.put(37, x.recovery_byte);
  for (size_t i = 0; i < x.zone_seconds.size(); ++i)
    h.triple(38 + 3 * static_cast<int32_t>(i), x.zone_seconds[i]);
  h.put(70, (x.total % 10) << 4);
  h.put(71, Bcd(x.total / 10 % 100));
  h.put(72, Bcd(x.total / 1000));
  if (type == 22 && x.start_limit_set > 0) h.own(67, x.start_limit_set + 1);
  if (HasSensorByte(type)) PutSensorSummary(h, x, s);
  if (type == 22 || type == 23) {
    for (size_t i = 0; i < x.late_seconds.size(); ++i)
      h.own_triple(112 + 3 * static_cast<int32_t>(i), x.late_seconds[i]);
  }
}

void PutLap(Bytes& out, const KSeriesLap& lap, const KSeriesExercise& x, const KSeriesSensors& s) {
  out.resize(out.size() + 3, 0);
  PutPackedTime(out, out.size() - 3, lap.tenths, Hours::kBcd);
  out.push_back(static_cast<uint8_t>(lap.heart_rate));
  out.push_back(static_cast<uint8_t>(lap.average));
  out.push_back(static_cast<uint8_t>(lap.maximum));
  const auto push16 = [&](int32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  };
  if (s.altitude) {
    push16(RawAltitude(lap.altitude, x.imperial));
    push16(lap.ascent);
    out.push_back(static_cast<uint8_t>(x.imperial ? lap.temperature - 14 : lap.temperature + 10));
  }
  if (Speed(s)) {
    if (s.cadence) out.push_back(static_cast<uint8_t>(lap.cadence));
    if (s.power) {
      push16(lap.power);
      push16(0);
    }
    push16(lap.distance);
    out.push_back(static_cast<uint8_t>(lap.speed & 0xFF));
    const int32_t units = x.extended_laps ? lap.lap_value % 10 : 0;
    out.push_back(static_cast<uint8_t>(((lap.speed >> 8) << 4) | units));
    if (x.extended_laps) out.push_back(Bcd(lap.lap_value / 10));
  }
  if (x.extended_laps) {
    out.push_back(Bcd(lap.recovery_seconds % 60));
    out.push_back(Bcd(lap.recovery_seconds / 60));
    out.push_back(static_cast<uint8_t>(lap.limit_swap ? kSwapMarker : lap.recovery_rate));
    out.push_back(static_cast<uint8_t>(lap.extra));
  }
}

// One R-R delta in the order the library reads it downwards: a byte, or 128, low 7 bits, high.
void PushDelta(std::vector<uint8_t>& top_down, int32_t delta) {
  if (delta >= -127 && delta <= 127) {
    top_down.push_back(static_cast<uint8_t>(delta < 0 ? 256 + delta : delta));
    return;
  }
  const int32_t magnitude = delta < 0 ? 16384 + delta : delta;
  top_down.push_back(kLongDelta);
  top_down.push_back(static_cast<uint8_t>(magnitude & 0x7F));
  top_down.push_back(static_cast<uint8_t>(magnitude >> 7));
}

// The sample bytes from the top of the exercise downwards.
Bytes SamplesTopDown(const KSeriesExercise& x, const KSeriesSensors& s, bool rr) {
  Bytes top_down;
  int32_t previous_rr = 0;
  for (const KSeriesSample& sample : x.samples) {
    if (Speed(s)) {
      if (s.cadence) top_down.push_back(static_cast<uint8_t>(sample.cadence));
      if (s.power) {
        top_down.push_back(static_cast<uint8_t>(sample.pedal_a));
        top_down.push_back(static_cast<uint8_t>(sample.pedal_b));
        top_down.push_back(static_cast<uint8_t>((sample.power >> 8) & 0xFF));
        top_down.push_back(static_cast<uint8_t>(sample.power & 0xFF));
      }
      top_down.push_back(static_cast<uint8_t>(sample.speed & 0xFF));
    }
    if (Speed(s) || s.altitude) {
      const int32_t altitude = s.altitude ? RawAltitude(sample.altitude, x.imperial) : 0;
      const int32_t speed_high = Speed(s) ? (sample.speed >> 8) & 7 : 0;
      top_down.push_back(static_cast<uint8_t>((speed_high << 5) | ((altitude >> 8) & 31)));
      if (s.altitude) top_down.push_back(static_cast<uint8_t>(altitude & 0xFF));
    }
    if (rr) {
      PushDelta(top_down, sample.heart_rate - previous_rr);
      previous_rr = sample.heart_rate;
    } else if (sample.limit_swap >= 0) {
      top_down.push_back(static_cast<uint8_t>(kFirstSampleSwap + sample.limit_swap));
    } else {
      top_down.push_back(static_cast<uint8_t>(sample.heart_rate));
    }
  }
  return top_down;
}

}  // namespace

Bytes EncodeKSeriesExercise(const KSeriesExercise& x, int32_t type, int32_t version) {
  const KSeriesSensors s = Recorded(x, type, version);
  const int32_t header = HeaderSize(type, version);
  const bool rr = type == 13 && x.interval_code == kRrCode;
  // Head and header, a byte the chain leaves free, the laps.
  Bytes out(static_cast<size_t>(header + 1), 0);
  PutHeader(out, x, type, s, static_cast<int32_t>(x.laps.size()));
  for (const KSeriesLap& lap : x.laps)
    PutLap(out, lap, x, s);
  if (rr) out.resize(out.size() + kRrSkip + 1, 0);  // the skipped bytes, and one below the samples
  const Bytes top_down = SamplesTopDown(x, s, rr);
  out.insert(out.end(), top_down.rbegin(), top_down.rend());
  PutExerciseLength(out, x.marker);
  return out;
}

Bytes KSeriesSingleImage(const std::vector<KSeriesExercise>& exercises, int32_t type,
                         uint8_t product_code, uint8_t version) {
  std::vector<Bytes> chain;
  for (const auto& x : exercises)
    chain.push_back(EncodeKSeriesExercise(x, type, version));
  return SingleChainImage(chain, product_code, version);
}

Bytes KSeriesWholeImage(const std::vector<KSeriesExercise>& exercises, int32_t type,
                        uint8_t product_code, uint8_t version, const Note& note,
                        uint8_t max_heart_rate) {
  std::vector<Bytes> chain;
  for (const auto& x : exercises)
    chain.push_back(EncodeKSeriesExercise(x, type, version));
  Bytes image = WholeChainImage(chain, kWholeChainStart, product_code, version, note);
  image[kWholeMaxHeartRate - 1] = max_heart_rate;
  return image;
}

}  // namespace quibra::sim

#include "exercise/prvc_file_decoder_a.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "codec/bcd.h"
#include "exercise/field_readers.h"
#include "exercise/prvc_file_fields.h"
#include "exercise/prvc_paged_data.h"
#include "exercise/prvc_samples.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;

// The fixed header.
constexpr int32_t kHeaderValue = 16;  // 16-bit
constexpr int32_t kSensors = 19;
constexpr int32_t kIntervalByte = 20;
constexpr int32_t kExtraKind = 21;
constexpr int32_t kDate = 22;  // B at 22, A at 23
constexpr int32_t kStart = 24;
constexpr int32_t kDuration = 27;
constexpr int32_t kCopied = 30;  // three bytes
constexpr int32_t kTotal = 33;   // 16-bit
constexpr int32_t kByte36 = 36;
constexpr int32_t kRestHr = 37;
constexpr int32_t kVo2max = 38;
constexpr int32_t kThreeBytes = 39;
constexpr int32_t kHeaderTemperature = 41;
constexpr int32_t kScaled = 42;  // 16-bit
constexpr int32_t kLapCount = 47;
constexpr int32_t kSummary = 53;

constexpr int32_t kAltitudeBit = 0x01;
constexpr int32_t kCadenceBit = 0x02;
constexpr int32_t kPowerBit = 0x04;
constexpr int32_t kSpeedBit = 0x08;
constexpr int32_t kExtraBit = 0x10;
constexpr int32_t kTripBit = 0x80;
constexpr int32_t kRrCapableBit = 0x04;
constexpr int32_t kIncompleteBit = 0x08;
constexpr std::array<int32_t, 4> kIntervals = {1, 5, 15, 60};

constexpr int32_t kAltitudeOffset = 768;
constexpr double kSpeedPerTenthKmh = 25.6;
constexpr int32_t kScaleOne = 1000;  // parameter 142 in 1/1000
constexpr int32_t kCadenceLapCap = 500;
constexpr int32_t kAverageCadenceCap = 199;
constexpr int32_t kNameBytes = 10;
constexpr std::array<int32_t, 11> kByteParams = {115, 117, 119, 121, 123, 160,
                                                 161, 162, 163, 164, 165};
constexpr std::array<int32_t, 10> kTimeParams = {125, 126, 127, 128, 129, 155, 156, 157, 158, 159};

struct Layout {
  int32_t type = 0;
  int32_t version = 0;
  bool speed = false;
  bool cadence = false;  // the file holds cadence bytes
  bool altitude = false;
  bool power = false;
  bool extra = false;  // flag 23: the extra values of channels 10..12
  bool trip = false;
  bool rr_capable = false;
  bool summary = false;  // flag 21
  int32_t interval = 1;
  int32_t laps = 0;

  bool is(int32_t a, int32_t b = 0, int32_t c = 0) const {
    return type == a || type == b || type == c;
  }
  // Sample records carry a 16-bit distance after the speed on every model but the type 37
  // units before version 4: the record size the units use counts those 2 bytes only there,
  // and a record read with 2 bytes the unit did not write would take every later record out
  // of step. Units of type 37 write the one-byte group 11 from version 4 on too; version 4 is
  // taken as the first with both, as nothing sets it apart from the later ones.
  bool from_version_4() const { return !is(37) || version >= 4; }
  bool any_sensor() const { return speed || cadence || altitude || power; }
  int32_t lap_size() const {
    int32_t size = 6;
    if (speed) size += is(37) ? 11 : 7;
    if (cadence && !is(37)) size += 2;
    if (altitude) size += is(37) ? 4 : 7;
    if (power && !is(37)) size += 8;
    return size;
  }
};

// The summary takes these bytes before the data directory; groups that do not apply to the
// model take none, groups that apply keep their bytes when their sensor is absent.
int32_t SummarySize(const Layout& l) {
  int32_t size = 42;  // group 12, on every model
  if (l.speed) size += 7;
  if (l.trip) size += 4;
  if (l.is(37)) size += 2;
  if (l.is(33, 35, 37)) size += 2 + 17;
  if (l.is(33, 35)) size += 2 + 16;
  if (l.is(35)) size += 8;
  if (l.is(36, 37)) size += 1 + 13;
  if (l.from_version_4()) size += 1;
  return size;
}

class Cursor {
 public:
  Cursor(const MemoryReader& m, int32_t at) : m_(m), at_(at) {}
  int32_t byte() { return m_.byte(at_++); }
  int32_t u16() {
    const int32_t v = m_.u16(at_);
    at_ += 2;
    return v;
  }
  double distance() {
    const double d = FileDistance(m_, at_);
    at_ += 3;
    return d;
  }
  int32_t time_triple() {
    const int32_t v = TimeTriple(m_, at_);
    at_ += 3;
    return v;
  }
  void skip(int32_t n) { at_ += n; }
  int32_t at() const { return at_; }

 private:
  const MemoryReader& m_;
  int32_t at_;
};

int32_t Round(double x) {
  return static_cast<int32_t>(std::lround(x));
}

Layout ReadLayout(const MemoryReader& m, int32_t type) {
  Layout l;
  l.type = type;
  l.version = m.byte(kFileVersionByte);
  const int32_t sensors = m.byte(kSensors);
  const int32_t options = m.byte(kIntervalByte);
  l.speed = (sensors & kSpeedBit) != 0;
  l.altitude = type != 36 && (sensors & kAltitudeBit) != 0;
  l.power = type == 35 && (sensors & kPowerBit) != 0;
  l.extra = l.speed && (sensors & kExtraBit) != 0;
  l.cadence = (sensors & kCadenceBit) != 0 && (sensors & kExtraBit) == 0;
  l.trip = l.is(33, 35) && (sensors & kTripBit) != 0;
  l.rr_capable = l.is(35, 37) && (options & kRrCapableBit) != 0;
  l.interval = kIntervals[static_cast<size_t>(options & 3)];
  l.summary = m.byte(kCopied) != 0 || m.byte(kCopied + 1) != 0 || m.byte(kCopied + 2) != 0;
  l.laps = m.byte(kLapCount) & 0x7F;
  return l;
}

void StoreHeader(const MemoryReader& m, const Layout& l, ExerciseStore& s) {
  const auto param = [&](int32_t id, int32_t v) { s.SetExerciseParam(kRec, id, v); };
  param(153, m.u16(kHeaderValue));
  param(146, l.rr_capable ? 1 : 0);
  param(147, (m.byte(kIntervalByte) & kIncompleteBit) != 0 ? 1 : 0);
  param(152, m.byte(kExtraKind));
  param(9, PackedDate(m.byte(kDate + 1), m.byte(kDate)));
  param(10, TimeTriple(m, kStart));
  const int32_t tenths = FileDurationTenths(m, kDuration, 0xFF);
  param(11, tenths * 100);
  param(40, tenths / 10);
  param(36, m.byte(kCopied));
  param(37, m.byte(kCopied + 1));
  param(35, m.byte(kCopied + 2));
  s.SetExerciseFlag(kRec, 21, l.summary ? 1 : 0);
  if (l.summary) {
    param(80, m.u16(kTotal));
    param(91, m.u16(kTotal));
  }
  param(134, m.byte(kByte36));
  param(26, m.byte(kRestHr));
  param(89, m.byte(kVo2max));
  param(148, m.byte(kThreeBytes));
  param(149, m.byte(kThreeBytes + 1));
  param(150, m.byte(kThreeBytes + 2));
  if (l.is(36) || !l.altitude) param(81, FileTemperatureTenths(m.byte(kHeaderTemperature)));
  param(151, m.u16(kScaled) * (l.is(33, 35) ? 100 : 10));
}

// What the summary tells the laps and the samples.
struct SummaryResult {
  int32_t scale = kScaleOne;  // parameter 142 as the laps apply it
  bool cadence_shown = false;
};

SummaryResult StoreSummary(const MemoryReader& m, const Layout& l, ExerciseStore& s) {
  const auto param = [&](int32_t id, int32_t v) { s.SetExerciseParam(kRec, id, v); };
  SummaryResult out;
  // Type 37 shows cadence only together with speed; without speed its records still hold the
  // cadence byte (the record size counts it), which is read past.
  out.cadence_shown = l.cadence && (!l.is(37) || l.speed);
  Cursor c(m, kSummary);
  double distance = 0;
  if (l.speed) {  // 1
    param(44, Round(c.u16() / kSpeedPerTenthKmh));
    param(43, Round(c.u16() / kSpeedPerTenthKmh));
    distance = c.distance();
    param(38, Round(distance / 100));
    param(169, Round(100 * distance));
  }
  if (l.trip) {  // 2: four BCD bytes in a row, after the speed group when there is one
    int32_t value = 0;
    for (int32_t i = 0, weight = 1; i < 4; ++i, weight *= 100)
      value += codec::BcdToBin(c.byte()) * weight;
    param(45, Round(value / 100.0));
  }
  if (l.is(37)) param(138, std::min(c.u16(), 500));  // 3
  std::array<int32_t, 2> cadence_bytes{};
  if (l.is(33, 35, 37)) {  // 4
    cadence_bytes = {c.byte(), c.byte()};
    if (l.cadence) {
      param(104, cadence_bytes[0]);
      param(103, cadence_bytes[1]);
    }
  }
  if (l.is(33, 35)) {  // 5
    const int32_t altitude = c.u16() - kAltitudeOffset;
    // Group 6 writes parameter 41 again, next to the other two altitudes of its kind: the
    // value of group 6 is the one kept.
    if (l.altitude) param(41, altitude);
  }
  if (l.is(33, 35, 37)) {  // 6
    if (l.altitude) {
      for (const int32_t id : {41, 101, 42})
        param(id, c.u16() - kAltitudeOffset);
      const bool converted = (l.is(35) && l.version > 4) || (l.is(33) && l.version > 2);
      for (const int32_t id : {81, 99, 82}) {
        const int32_t t = c.byte();
        if (!l.is(37)) param(id, converted ? FileTemperatureTenths(t) : 10 * t);
      }
      param(39, FeetToMetres(c.u16()));
      param(102, FeetToMetres(c.u16()));
      param(139, c.u16());
      param(140, c.u16());
    } else {
      c.skip(17);
    }
  }
  if (l.is(35)) {  // 7
    if (l.power) {
      param(78, c.u16());
      param(79, c.u16());
      param(107, c.byte() / 2);
      param(106, c.byte() / 2);
      param(141, Round(c.u16() * 10 / 256.0));
    } else {
      c.skip(8);
    }
  }
  int32_t s1 = 0;
  if (l.is(36, 37)) s1 = c.byte();  // 8
  if (l.is(33, 35)) {               // 9
    param(145, c.byte());
    const int32_t low = codec::BcdToBin(c.byte());
    param(144, low + 256 * codec::BcdToBin(c.byte()));
    c.skip(kNameBytes + 3);
  }
  if (l.is(36, 37)) {  // 10
    const int32_t b = c.byte();
    param(143, b);
    if (b != 0 && l.speed && s1 != 0 && l.summary && s1 < 100) param(137, s1);
    c.skip(kNameBytes);
    int32_t q = c.u16();
    // The units of types 36 and 37 scale their distances and lap speeds by q / 1000 (the
    // calibration of their speed sensor), so the parameter is a distance scale here; the
    // files of types 34 and 38 carry a time scale in its place. A unit that never set it
    // writes 0, which counts as 1.
    if (q == 0) q = kScaleOne;
    if (l.is(37) && l.speed && cadence_bytes[0] <= 1 && cadence_bytes[1] <= 1) {
      // A type 37 whose cadence never counted rode without the sensor.
      q = kScaleOne;
      out.cadence_shown = false;
      s.SetExerciseFlag(kRec, 22, 1);
    }
    param(142, q);
    out.scale = q;
    if (l.speed) {
      param(38, Round(q * distance / 100 / 1000));
      param(169, Round(q * distance / 100 * 10));
    }
  }
  param(167, l.from_version_4() ? c.byte() : 1);  // 11
  c.skip(1);                                      // 12
  for (const int32_t id : kByteParams)
    param(id, c.byte());
  for (const int32_t id : kTimeParams)
    param(id, c.time_triple());
  return out;
}

// Type 35 before version 5 keeps the lap temperature as whole degrees Celsius, a byte above 79
// being below zero (counted down from 256). The others count degrees Fahrenheit from -22 like the
// summary, rounded at 0 degrees Celsius and above (c >= 54) and cut toward zero below.
int32_t LapTemperature(const Layout& l, int32_t c) {
  if (l.is(35) && l.version < 5) return 10 * (c > 79 ? c - 256 : c);
  const double celsius = FileTemperatureCelsius(c);
  return 10 * (c >= 54 ? Round(celsius) : static_cast<int32_t>(celsius));
}

void StoreLap(const MemoryReader& m, const Layout& l, const SummaryResult& sum, bool speed_values,
              int32_t at, ExerciseStore& s) {
  const int32_t index = s.InsertLap(kRec, FileDurationTenths(m, at, 0x7F), false);
  if (index < 0) return;  // at 0, past the end of the exercise, or a time already taken
  const auto set = [&](int32_t field, int32_t v) { s.SetLapField(kRec, index, field, v, true); };
  set(601, FileDurationTenths(m, at, 0x7F));
  set(648, (m.byte(at + 2) & 0x80) != 0 ? 2 : 1);
  set(607, m.byte(at + 3));
  set(609, m.byte(at + 4));
  set(610, m.byte(at + 5));
  const double t = l.is(36, 37) ? sum.scale / 1000.0 : 1.0;
  Cursor c(m, at + 6);
  if (l.speed) {
    const int32_t now = c.u16();
    const int32_t average = c.u16();
    const double d = c.distance();
    if (speed_values) {
      set(611, Round(now * t / kSpeedPerTenthKmh));
      set(612, Round(average * t / kSpeedPerTenthKmh));
      set(604, Round(d * t));
    }
    if (l.is(37)) {
      const int32_t value = c.u16();
      const int32_t cad_now = c.byte();
      const int32_t cad_average = c.byte();
      if (sum.cadence_shown) {
        if (speed_values) set(651, std::min(Round(value * t), kCadenceLapCap));
        set(613, cad_now);
        set(614, std::min(cad_average, kAverageCadenceCap));
      }
    }
  }
  if (l.cadence && !l.is(37)) {
    set(613, c.byte());
    set(614, std::min(c.byte(), kAverageCadenceCap));
  }
  if (l.altitude) {
    set(615, c.u16() - kAltitudeOffset);
    if (l.is(33, 35)) set(621, LapTemperature(l, c.byte()));
    set(636, FeetToMetres(c.u16()));
    if (l.is(33, 35)) set(637, FeetToMetres(c.u16()));
  }
  if (l.power && !l.is(37)) {
    set(617, c.u16());
    set(619, c.u16());
    c.skip(2);
    set(652, (c.byte() + c.byte()) * 10 / 256);
  }
  set(659, index + 1);
}

}  // namespace

int32_t DecodeFileExerciseA(const MemoryReader& m, ExerciseStore& s, int32_t type, int32_t index,
                            RrDecoding rr) {
  if (index != 0) return 0;
  Layout l = ReadLayout(m, type);
  // The lap area closes the file: the unit's reply announces the file's length and the library
  // keeps exactly the bytes announced, so the last lap ends with the last byte held.
  const int32_t lap_end = m.count() + 1;
  const int32_t directory = kSummary + SummarySize(l);
  const auto pages = ReadPagedData(m, directory, lap_end);
  if (!pages) return 0;

  // Mode 2 decodes an R-R capable exercise as an R-R recording: its other sensors are left out
  // (their bytes are still read past) and its laps keep no speed values.
  const bool rr_only = rr == RrDecoding::kRrOnly && l.rr_capable;
  const Layout shown = [&] {
    Layout v = l;
    if (rr_only) v.speed = v.cadence = v.altitude = v.power = v.extra = false;
    return v;
  }();
  const bool rr_recording = l.rr_capable && !shown.any_sensor();
  const int32_t interval = rr_recording ? kRrInterval : l.interval;
  StoreShownSensors({shown.speed, shown.altitude, shown.power, shown.extra, shown.any_sensor()},
                    interval, s);
  StoreHeader(m, l, s);
  const SummaryResult sum = StoreSummary(m, l, s);
  const bool cadence_shown = sum.cadence_shown && shown.cadence;
  s.SetExerciseFlag(kRec, 10, cadence_shown ? 1 : 0);

  ForEachLap(*pages, lap_end, l.lap_size(), l.laps,
             [&](int32_t at) { StoreLap(m, l, sum, !rr_only, at, s); });
  const SampleFormat f{.heart_rate = !l.rr_capable,
                       .altitude = l.altitude,
                       .speed = l.speed,
                       .speed_distance = l.from_version_4(),
                       .cadence = l.cadence,
                       .cadence_shown = cadence_shown,
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

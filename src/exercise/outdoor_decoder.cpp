#include "exercise/outdoor_decoder.h"

#include <array>

#include "codec/bcd.h"
#include "codec/dates.h"
#include "codec/unit_families.h"
#include "exercise/exercise_checks.h"
#include "exercise/field_readers.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;

// Header offsets from the exercise start.
constexpr int32_t kDate = 3;  // B at 3, A at 4
constexpr int32_t kStartTime = 5;
constexpr int32_t kModeBits = 8;
constexpr int32_t kLimitBits = 9;
constexpr int32_t kScaleBits = 10;
constexpr int32_t kIntervalCode = 12;
constexpr int32_t kDuration = 13;
constexpr int32_t kHeaderBytes = 16;  // params 36, 37
constexpr int32_t kRate1 = 18;
constexpr int32_t kRate2 = 20;
constexpr int32_t kTotal1 = 22;
constexpr int32_t kTotal2 = 24;
constexpr int32_t kAltitudeA = 26;
constexpr int32_t kAltitudeB = 28;
constexpr int32_t kSigned1 = 30;
constexpr int32_t kSigned2 = 31;
constexpr int32_t kValue39 = 32;
constexpr int32_t kValue102 = 34;
constexpr int32_t kValue100 = 36;
constexpr int32_t kLimitBytes = 37;
constexpr int32_t kZoneTimes = 43;
constexpr int32_t kTotal80 = 70;

constexpr int32_t kNoAltitude = 32767;
constexpr int32_t kAltitudeBias = 768;
constexpr int32_t kPressureBias = 4000;
constexpr double kFeetPerMetre = 1.0 / 0.3048;

// Interval code -> seconds; any other code is 5 s.
constexpr std::array<int32_t, 4> kIntervals = {5, 15, 60, 300};

// The nine zone-time triples land in these parameters, in order.

// A limit pair: header byte offsets (first, second), their presence bits, and the parameters
// they fill. The second byte reads 240 when it is absent but the first is present.
struct LimitPair {
  int32_t first_param;
  int32_t second_param;
  int32_t bit;  // presence bit of the first byte; the second uses bit + 1
};
constexpr std::array<LimitPair, 3> kLimitPairs = {{{14, 13, 0}, {16, 15, 2}, {18, 17, 4}}};
constexpr int32_t kAbsentSecondLimit = 240;

// Lap record offsets.
constexpr int32_t kLapKind = 0;
constexpr int32_t kLapTime = 5;
constexpr int32_t kLapHeartRate = 8;
constexpr int32_t kLapAltitude = 9;
constexpr int32_t kLapPressure = 11;
constexpr int32_t kLapTemperature = 13;
constexpr int32_t kLapTotal = 14;
constexpr int32_t kLapCounter = 16;
constexpr int32_t kLapLimitSet = 20;

struct LapKind {
  int32_t kind;
  int32_t field_603;
};
constexpr std::array<LapKind, 2> kLapKinds = {{{1, 0x200000}, {3, 0x400000}}};
constexpr int32_t kSwapLapKind = 5;

int32_t Round(double x) {
  return static_cast<int32_t>(x + 0.5);
}

int32_t SignedByte(int32_t b) {
  return b > 79 ? b - 256 : b;
}

int32_t RawAltitude(const MemoryReader& m, int32_t at) {
  return m.byte(at) + (m.byte(at + 1) & 127) * 256;
}

void DecodeHeader(const MemoryReader& m, ExerciseStore& s, int32_t type, int32_t e) {
  s.SetExerciseParam(kRec, 9, PackedDate(m.byte(e + kDate + 1), m.byte(e + kDate)));
  s.SetExerciseParam(kRec, 10, TimeTriple(m, e + kStartTime));
  const int32_t mode_bits = m.byte(e + kModeBits);
  const bool metric = (mode_bits & 0x02) != 0;
  s.SetExerciseParam(kRec, 147, (mode_bits >> 6) & 1);
  const int32_t limit_bits = m.byte(e + kLimitBits);
  // Only type 21 keeps a third limit set; type 20 leaves those bits meaningless.
  if (type == 21) s.SetExerciseFlag(kRec, 6, (limit_bits & 0x30) != 0x30 ? 1 : 0);
  const bool fine = (m.byte(e + kScaleBits) & 0x20) != 0;
  const int32_t code = m.byte(e + kIntervalCode);
  s.SetExerciseParam(kRec, 12, code >= 1 && code <= 3 ? kIntervals[code] : kIntervals[0]);
  s.SetExerciseParam(kRec, 11, TimeTriple(m, e + kDuration) * 100);
  s.SetExerciseParam(kRec, 36, m.byte(e + kHeaderBytes));
  s.SetExerciseParam(kRec, 37, m.byte(e + kHeaderBytes + 1));

  const double rate_scale = fine ? 480.0 : 32.0;
  s.SetExerciseParam(kRec, 95, Round(m.u16(e + kRate1) / rate_scale * 60.0));
  s.SetExerciseParam(kRec, 96, Round(m.u16(e + kRate2) / rate_scale * 60.0));
  // The two totals are kept in minutes when fine-scaled, and in feet for imperial exercises.
  const auto total = [&](int32_t at) {
    int32_t value = m.u16(e + at);
    if (fine) value /= 60;
    return metric ? value : Round(value * kFeetPerMetre);
  };
  s.SetExerciseParam(kRec, 97, total(kTotal1));
  s.SetExerciseParam(kRec, 98, total(kTotal2));

  const int32_t altitude_b = RawAltitude(m, e + kAltitudeB);
  if (altitude_b == kNoAltitude) {
    s.SetExerciseParam(kRec, 7, 16);
  } else {
    s.SetExerciseParam(kRec, 42, RawAltitude(m, e + kAltitudeA) - kAltitudeBias);
    s.SetExerciseParam(kRec, 101, altitude_b - kAltitudeBias);
    s.SetExerciseFlag(kRec, 9, 1);
    s.SetExerciseFlag(kRec, 3, 1);
    s.SetExerciseParam(kRec, 7, 32);
  }
  s.SetExerciseParam(kRec, 82, SignedByte(m.byte(e + kSigned1)) * 10);
  s.SetExerciseParam(kRec, 99, SignedByte(m.byte(e + kSigned2)) * 10);
  s.SetExerciseParam(kRec, 39, m.u16(e + kValue39));
  s.SetExerciseParam(kRec, 102, m.u16(e + kValue102));
  s.SetExerciseParam(kRec, 100, m.byte(e + kValue100));

  const size_t pairs = type == 21 ? kLimitPairs.size() : 1;
  for (size_t i = 0; i < pairs; ++i) {
    const LimitPair& pair = kLimitPairs[i];
    const int32_t at = e + kLimitBytes + static_cast<int32_t>(i) * 2;
    const bool first = (limit_bits & (1 << pair.bit)) == 0;
    const bool second = (limit_bits & (1 << (pair.bit + 1))) == 0;
    if (first) s.SetExerciseParam(kRec, pair.first_param, m.byte(at));
    if (second) {
      s.SetExerciseParam(kRec, pair.second_param, m.byte(at + 1));
    } else if (first) {
      s.SetExerciseParam(kRec, pair.second_param, kAbsentSecondLimit);
    }
  }
  for (size_t i = 0; i < kZoneTimeParams.size(); ++i) {
    s.SetExerciseParam(kRec, kZoneTimeParams[i],
                       TimeTriple(m, e + kZoneTimes + 3 * static_cast<int32_t>(i)));
  }
  const int32_t total80 = m.u16(e + kTotal80);
  s.SetExerciseParam(kRec, 80, total80);
  s.SetExerciseParam(kRec, 91, total80);
}

void DecodeLaps(const MemoryReader& m, ExerciseStore& s, const ExerciseRegions& r) {
  for (int32_t i = 0; i < r.lap_count; ++i) {
    const int32_t at = r.lap_start + i * r.lap_size;
    const int32_t time = TimeTriple(m, at + kLapTime);
    const int32_t index = s.InsertLap(kRec, time, false);
    if (index == -2) return;  // out of memory: keep what is stored
    if (index < 0) continue;  // outside the exercise or a repeated time
    s.SetLapField(kRec, index, 601, time, false);
    const int32_t kind = m.byte(at + kLapKind);
    for (const auto& k : kLapKinds) {
      if (k.kind == kind) s.SetLapField(kRec, index, 603, k.field_603, false);
    }
    s.SetLapField(kRec, index, 607, m.byte(at + kLapHeartRate), false);
    s.SetLapField(kRec, index, 615, m.u16(at + kLapAltitude) - kAltitudeBias, false);
    s.SetLapField(kRec, index, 646, Round((m.u16(at + kLapPressure) + kPressureBias) / 16.0),
                  false);
    s.SetLapField(kRec, index, 621, SignedByte(m.byte(at + kLapTemperature)) * 10, false);
    s.SetLapField(kRec, index, 636, m.u16(at + kLapTotal), false);
    s.SetLapField(kRec, index, 637, m.u16(at + kLapCounter), false);
    if (kind == kSwapLapKind) s.RecordLimitSwap(kRec, time, m.u16(at + kLapLimitSet));
    s.SetExerciseFlag(kRec, 13, 1);
  }
}

// Samples are heart rate, low and high byte of a 15-bit value, stored top down. Bit 7 of the
// high byte says whether the value is a new air pressure (the altitude repeats) or a new
// altitude (the pressure repeats). A sample the store finds implausible is dropped; its time
// still passes.
void DecodeSamples(const MemoryReader& memory, ExerciseStore& s, const ExerciseRegions& r) {
  // A reader of its own: the stores into the batch cannot touch it, so its bytes stay in
  // registers rather than being loaded again for every sample.
  const MemoryReader m = memory;
  const int32_t interval_ms = s.GetExerciseParam(kRec, 12) * 1000;
  int32_t altitude = 0;
  int32_t pressure = 0;
  bool any_pressure = false;
  int64_t elapsed = 0;
  // Samples are filled in place and appended a batch at a time under one lock; the channels an
  // outdoor sample lacks stay 0 in every slot.
  std::array<SampleInput, 64> batch{};
  size_t pending = 0;
  // The pressure is 0..32767, so its sixteenth rounded half up is (pressure + 8) / 16 exactly.
  const auto pressure_channel_of = [](int32_t p) { return (p + 8) / 16 + 250; };
  int32_t pressure_channel = pressure_channel_of(pressure);
  for (int32_t pos = r.sample_end; pos - 2 > r.sample_start; pos -= 3) {
    const int32_t high = m.byte(pos);
    const int32_t value = (high & 0x7F) * 256 + m.byte(pos - 1);
    if ((high & 0x80) != 0) {
      pressure = value;
      pressure_channel = pressure_channel_of(pressure);
      any_pressure = true;
    } else {
      altitude = value;
    }
    SampleInput& sample = batch[pending++];
    sample.heart_rate = m.byte(pos - 2);
    sample.ch4 = altitude - kAltitudeBias;
    sample.ch9 = pressure_channel;
    if (pending == batch.size()) {
      s.AppendExerciseSamples(kRec, batch);
      pending = 0;
    }
    elapsed += interval_ms;
  }
  s.AppendExerciseSamples(kRec, std::span(batch.data(), pending));
  if (any_pressure) s.SetExerciseFlag(kRec, 20, 1);
  const int64_t duration = s.GetExerciseParam(kRec, 11);
  if (elapsed > duration + interval_ms) {
    s.SetExerciseParam(kRec, 11, static_cast<int32_t>(elapsed));
  } else if (elapsed + interval_ms < duration) {
    s.SetExerciseParam(kRec, 147, 1);
  }
}

}  // namespace

int32_t DecodeOutdoorExercise(const MemoryReader& memory, ExerciseStore& store,
                              int32_t monitor_type, int32_t index, ImageMode mode) {
  if (!codec::IsOutdoor(monitor_type)) return 0;
  const auto regions = LocateExercise(memory, monitor_type, index, mode);
  if (!regions) return 0;
  // An impossible date of these units decodes as today's date; an impossible time of day has no
  // such stand-in.
  const int32_t start = regions->start + kStartTime;
  if (const auto bad = CheckStartTime(codec::BcdToBin(memory.byte(start + 2)),
                                      codec::BcdToBin(memory.byte(start + 1)),
                                      codec::BcdToBin(memory.byte(start)))) {
    return RejectExercise(index, *bad);
  }
  store.SetExerciseParam(kRec, 83, 1);
  store.SetExerciseFlag(kRec, 21, 1);
  DecodeHeader(memory, store, monitor_type, regions->start);
  DecodeLaps(memory, store, *regions);
  DecodeSamples(memory, store, *regions);
  store.SetExerciseParam(kRec, 40, store.GetExerciseParam(kRec, 11) / 1000);
  return 1;
}

}  // namespace quibra::exercise

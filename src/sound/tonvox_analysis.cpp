#include "sound/tonvox_analysis.h"

#include <algorithm>
#include <array>
#include <optional>

#include "codec/bcd.h"
#include "exercise/exercise_locator.h"
#include "exercise/field_readers.h"
#include "exercise/record_store.h"
#include "exercise/unit_conversion.h"
#include "frame/module.h"
#include "ui/message_box.h"

namespace quibra::sound {
namespace {

using codec::BcdToBin;
using exercise::ExerciseStore;
using exercise::MemoryReader;

constexpr int32_t kRec = 0;
constexpr char kCaption[] = "Tonvox";
constexpr char kErrorInData[] = "Error in data";

// The unit sends its memory in 60-byte pieces, each behind a 3-byte block header that stays in
// the assembled buffer; sample areas and lap records step over these headers.
constexpr int32_t kPieceBytes = 60;
constexpr int32_t kBlockHeader = 3;
// The sample areas begin this far past the family's base position.
constexpr int32_t kSampleAreaOffset = 86;
// A unit that filled its 120 samples recorded at twice its nominal rate.
constexpr int32_t kFullSampleCount = 120;
constexpr int32_t kBaseInterval = 15;  // s, doubled per step of the interval exponent
constexpr int32_t kSpeedSampleScale = 5;

// Summary positions. Those marked "shifted" lie one position further on the units with a
// channel byte at 36 (types 6 and 10).
constexpr int32_t kSampleCountPos = 10;
constexpr int32_t kIntervalPos = 11;
constexpr int32_t kStartTimePos = 20;  // BCD seconds, minutes, hours (bit 7: PM)
constexpr int32_t kDayPos = 23;        // BCD day (bit 7: the unit runs a 12-hour clock)
constexpr int32_t kYearPos = 24;
constexpr int32_t kMonthPos = 25;  // month in bits 0..3, tenths of the duration in bits 4..7
constexpr int32_t kDurationPos = 26;
constexpr int32_t kHeaderBytesPos = 29;  // two bytes kept as parameters 36, 37
constexpr int32_t kLapCountPos = 31;
constexpr int32_t kOptionsPos = 35;
constexpr int32_t kChannelsPos = 36;   // types 6 and 10 only
constexpr int32_t kLapModePos = 36;    // shifted
constexpr int32_t kLimitsPos = 37;     // shifted
constexpr int32_t kRecoveryPos = 43;   // shifted: BCD seconds, minutes, then a byte
constexpr int32_t kZoneTimesPos = 46;  // shifted: nine BCD triples
constexpr int32_t kTotalPos = 81;      // shifted: six BCD digits, low byte first

constexpr int32_t kOptionImperial = 0x02;
constexpr int32_t kOptionLapMode = 0x04;
constexpr int32_t kOptionLongLaps = 0x80;
constexpr int32_t kChannelThird = 0x04;

constexpr std::array<int32_t, 6> kLimitParams = {14, 13, 16, 15, 18, 17};
// Where each of the nine zone durations lies from kZoneTimesPos: the ninth follows three unused
// bytes.
constexpr std::array<int32_t, 9> kZoneOffsets = {0, 3, 6, 9, 12, 15, 18, 21, 27};
constexpr int32_t kZoneOutOfLineParam = 76;
// Speed-source nibble -> speed samples recorded.
constexpr std::array<bool, 16> kSpeedSources = {false, true, true};
// Lap-mode nibble -> lap field 625; other codes leave it 0.
constexpr std::array<int32_t, 3> kLapModes = {1, 2, 4};

// The trip summary that only the units with a channel byte send, at fixed positions.
enum class TripKind { kBcdSixDigits, kWord, kTwelveBitLow, kTwelveBitHigh, kByte };
struct TripField {
  int32_t position;
  TripKind kind;
  int32_t param;
};
constexpr std::array<TripField, 6> kTripFields = {{
    {94, TripKind::kBcdSixDigits, 45},
    {97, TripKind::kWord, 38},
    {99, TripKind::kTwelveBitLow, 43},
    {99, TripKind::kTwelveBitHigh, 44},  // the second value of the three bytes from 99
    {102, TripKind::kByte, 103},
    {103, TripKind::kByte, 104},
}};

// Markers of the long lap records: below 254 the lap carries a measured duration (and, unless
// the marker is 252, the heart rate measured with it); 254 marks a change of the limit set.
constexpr int32_t kMarkerNoHeartRate = 252;
constexpr int32_t kMarkerLimitChange = 254;
constexpr int32_t kFlagThirdLimitSet = 6;

// How the two families lay out the same data.
struct Family {
  int32_t shift;         // one for the units with the channel byte at 36
  int32_t base;          // the sample areas start at base + 86
  int32_t short_lap;     // bytes per lap record
  int32_t long_lap;      // bytes per lap record with option bit 7
  int32_t marker;        // long records: lap field of the marker, its low byte follows
  int32_t lap_duration;  // long records: lap field of the BCD seconds, minutes follow
  int32_t zone76_hours;  // where the hours of zone duration 76 lie (out of line on 6, 10)
  bool channels;         // channel byte at 36 and the trip summary at 94..103
};
constexpr Family kType9 = {0, 7, 6, 10, 8, 6, 69, false};
constexpr Family kType6And10 = {1, 21, 11, 16, 14, 12, 73, true};

std::optional<Family> FamilyOf(int32_t monitor_type) {
  if (monitor_type == 9) return kType9;
  if (monitor_type == 6 || monitor_type == 10) return kType6And10;
  return std::nullopt;
}

// What the summary says about the rest of the data.
struct Layout {
  Family family;
  int32_t samples = 0;  // N: the unit stores N bytes per area and the library N + 1 samples
  int32_t laps = 0;
  bool imperial = false;
  bool long_laps = false;
  bool speed = false;
  bool third = false;
  int32_t lap_mode = 0;
};

// The unit's raw speed steps. The divisor has always been the single-precision 1.6, and its
// error decides the halves: 4 steps give 2, not 3.
int32_t SpeedSteps(int32_t v) {
  return exercise::RoundHalfUp(v / static_cast<double>(1.6F));
}

// Six BCD digits, low byte first.
int32_t BcdSixDigits(const MemoryReader& m, int32_t at) {
  return codec::BcdToBin(m.byte(at + 2)) * 10000 + codec::BcdToBin(m.byte(at + 1)) * 100 +
         codec::BcdToBin(m.byte(at));
}

// BCD seconds, minutes -> 1/10 s.
int32_t BcdMinutesSeconds(const MemoryReader& m, int32_t at) {
  return (codec::BcdToBin(m.byte(at + 1)) * 60 + codec::BcdToBin(m.byte(at))) * 10;
}

int32_t ReadTripField(const MemoryReader& m, const TripField& f) {
  switch (f.kind) {
    case TripKind::kBcdSixDigits:
      return BcdSixDigits(m, f.position);
    case TripKind::kWord:
      return m.u16(f.position);
    case TripKind::kTwelveBitLow:
      return SpeedSteps(exercise::TwelveBit(m, f.position, false));
    case TripKind::kTwelveBitHigh:
      return SpeedSteps(exercise::TwelveBit(m, f.position, true));
    case TripKind::kByte:
      return m.byte(f.position);
  }
  return 0;
}

// Samples, interval, start, date and duration.
void DecodeTiming(const MemoryReader& m, ExerciseStore& s, Layout& l) {
  l.samples = m.byte(kSampleCountPos);
  int32_t exponent = m.byte(kIntervalPos) & 15;
  // The halved interval of a full recording cannot go below the exponent 0: there is no
  // whole-second interval under 15 s to give it.
  if (l.samples == kFullSampleCount) exponent = std::max(exponent - 1, 0);
  s.SetExerciseParam(kRec, 12, kBaseInterval << exponent);

  const int32_t hours_byte = m.byte(kStartTimePos + 2);
  const int32_t day_byte = m.byte(kDayPos);
  const int32_t hour = exercise::Hour24(codec::BcdToBin(hours_byte & 0x7F), (day_byte & 0x80) != 0,
                                        (hours_byte & 0x80) != 0);
  s.SetExerciseParam(kRec, 10, hour * 36000 + BcdMinutesSeconds(m, kStartTimePos));

  const int32_t month_byte = m.byte(kMonthPos);
  s.SetExerciseParam(
      kRec, 9,
      exercise::KSeriesDate(m.byte(kYearPos), month_byte & 15, codec::BcdToBin(day_byte & 0x7F)));
  s.SetExerciseParam(kRec, 11, (exercise::TimeTriple(m, kDurationPos) + (month_byte >> 4)) * 100);
}

// Header bytes, lap count, options and the channel byte.
void DecodeOptions(const MemoryReader& m, ExerciseStore& s, Layout& l) {
  s.SetExerciseParam(kRec, 36, m.byte(kHeaderBytesPos));
  s.SetExerciseParam(kRec, 37, m.byte(kHeaderBytesPos + 1));
  l.laps = codec::BcdToBin(m.byte(kLapCountPos));
  const int32_t options = m.byte(kOptionsPos);
  l.imperial = (options & kOptionImperial) != 0;
  l.long_laps = (options & kOptionLongLaps) != 0;
  s.SetExerciseParam(kRec, 8, l.imperial ? 1 : 0);
  s.SetExerciseFlag(kRec, 12, l.long_laps ? 1 : 0);
  if (l.family.channels) {
    const int32_t channels = m.byte(kChannelsPos);
    l.third = (channels & kChannelThird) != 0;
    l.speed = kSpeedSources[static_cast<size_t>(channels >> 4)];
    s.SetExerciseFlag(kRec, 10, l.third ? 1 : 0);
    if (l.speed) {
      // The extended table must be chosen before the first sample is stored.
      s.SetExerciseFlag(kRec, exercise::kFlagExtendedSamples, 1);
      s.SetExerciseParam(kRec, 7, 32);
    }
    s.SetExerciseFlag(kRec, 8, l.speed ? 1 : 0);
  }
  if ((options & kOptionLapMode) != 0) {
    const size_t code = static_cast<size_t>(m.byte(kLapModePos + l.family.shift) >> 4);
    l.lap_mode = code < kLapModes.size() ? kLapModes[code] : 0;
  }
}

// Limits, recovery, the nine zone durations and the exercise total.
void DecodeLimitsAndTotals(const MemoryReader& m, ExerciseStore& s, const Family& f) {
  const int32_t o = f.shift;
  for (size_t i = 0; i < kLimitParams.size(); ++i)
    s.SetExerciseParam(kRec, kLimitParams[i], m.byte(kLimitsPos + o + static_cast<int32_t>(i)));
  s.SetExerciseParam(kRec, 47, BcdMinutesSeconds(m, kRecoveryPos + o));
  s.SetExerciseParam(kRec, 48, m.byte(kRecoveryPos + o + 2));
  for (size_t i = 0; i < exercise::kZoneTimeParams.size(); ++i) {
    const int32_t param = exercise::kZoneTimeParams[i];
    const int32_t at = kZoneTimesPos + o + kZoneOffsets[i];
    const int32_t hours_at = param == kZoneOutOfLineParam ? f.zone76_hours : at + 2;
    s.SetExerciseParam(kRec, param,
                       codec::BcdToBin(m.byte(hours_at)) * 36000 + BcdMinutesSeconds(m, at));
  }
  const int32_t total = BcdSixDigits(m, kTotalPos + o) / 10;
  s.SetExerciseParam(kRec, 80, total);
  s.SetExerciseParam(kRec, 91, total);
  if (!f.channels) return;
  for (const auto& field : kTripFields)
    s.SetExerciseParam(kRec, field.param, ReadTripField(m, field));
}

// Where the areas begin: the heart-rate bytes, then (behind one or two block headers) the speed
// bytes, then the third channel, then the laps.
struct Areas {
  int32_t heart_rate = 0;
  int32_t speed = 0;
  int32_t third = 0;
  int32_t laps = 0;
};

Areas LocateAreas(const Layout& l) {
  const int32_t n = l.samples;
  const int32_t headers = n <= kPieceBytes ? 1 : 2;
  const int32_t start = l.family.base + kSampleAreaOffset;
  // One area's bytes with their block headers.
  const int32_t span = n < 1 ? 0 : n + headers * kBlockHeader;
  int32_t areas_before_laps = 1;
  if (l.speed) areas_before_laps += l.third ? 2 : 1;
  return {start, start + n + headers * kBlockHeader, start + 2 * (n + headers * kBlockHeader),
          start + areas_before_laps * span};
}

// Byte j of an area. The units record at most 120 samples, so an area spans two pieces at most.
int32_t AreaByte(const MemoryReader& m, int32_t area, int32_t j) {
  return m.byte(area + j + (j >= kPieceBytes ? kBlockHeader : 0));
}

// Stores N + 1 samples: the first byte of each area serves samples 0 and 1. Returns whether the
// store took the last one. A third channel without speed leaves the extended table unused (flag
// 3 is set for speed only), so the store keeps just the heart rate of those samples.
bool StoreSamples(const MemoryReader& m, ExerciseStore& s, const Layout& l, const Areas& a) {
  bool stored = true;
  for (int32_t i = 0; i <= l.samples; ++i) {
    const int32_t j = std::max(i - 1, 0);
    const int32_t index = s.GetSampleCount(kRec);
    const int32_t heart_rate = AreaByte(m, a.heart_rate, j);
    if (!l.speed && !l.third) {
      stored = s.SetSampleValue(kRec, 1, index, heart_rate) == 1;
    } else {
      exercise::SampleInput sample{};
      sample.index = index;
      sample.heart_rate = heart_rate;
      if (l.speed) sample.ch2 = AreaByte(m, a.speed, j) * kSpeedSampleScale;
      if (l.third) sample.ch3 = AreaByte(m, a.third, j);
      stored = s.AddExerciseSample(kRec, sample) == 1;
    }
    if (stored) s.IncrementSampleCount(kRec);
  }
  return stored;
}

// Field j of one lap record; records run on across the block headers.
class LapRecordBytes {
 public:
  LapRecordBytes(const MemoryReader& m, int32_t area, int32_t size, int32_t lap)
      : m_(m), area_(area), first_(lap * size) {}
  int32_t operator()(int32_t j) const {
    const int32_t t = first_ + j;
    return m_.byte(area_ + t + kBlockHeader * (t / kPieceBytes));
  }

 private:
  const MemoryReader& m_;
  int32_t area_;
  int32_t first_;
};

// Seconds and minutes in bits 0..5 with the tenths split over their bits 6..7 (low, high), and
// BCD hours -> 1/10 s.
int32_t LapSplitTime(const LapRecordBytes& b) {
  const int32_t b0 = b(0);
  const int32_t b1 = b(1);
  return (b0 >> 6) + (b1 >> 6) * 4 + (b0 & 63) * 10 + (b1 & 63) * 600 +
         codec::BcdToBin(b(2)) * 36000;
}

// The limit set the unit changes to: it cycles 1, 2 (only with a third set, else back to 0), 0.
int32_t NextLimitSet(ExerciseStore& s) {
  const int32_t count = s.GetLimitSwapCount(kRec);
  if (count == 0) return 1;
  int32_t time = 0;
  int32_t last = 0;
  s.GetLimitSwap(kRec, count - 1, &time, &last);
  if (last == 1) return s.GetExerciseFlag(kRec, kFlagThirdLimitSet) != 0 ? 2 : 0;
  if (last == 2) return 0;
  return 1;
}

// The marker of a long record: a measured lap duration (with its heart rate unless 252), or
// 254 for a change of the limit set at the lap moment.
void DecodeLapMarker(ExerciseStore& s, const Family& f, const LapRecordBytes& b, int32_t lap,
                     int32_t time) {
  const int32_t marker = b(f.marker);
  s.SetLapField(kRec, lap, 645, marker * 256 + b(f.marker + 1), false);
  if (marker < kMarkerLimitChange) {
    s.SetLapField(kRec, lap, 603, 1, false);
    s.SetLapField(kRec, lap, 626,
                  codec::BcdToBin(b(f.lap_duration + 1)) * 60 + codec::BcdToBin(b(f.lap_duration)),
                  false);
    if (marker != kMarkerNoHeartRate) s.SetLapField(kRec, lap, 627, marker, false);
  } else if (marker == kMarkerLimitChange) {
    s.RecordLimitSwap(kRec, time, NextLimitSet(s));
  }
}

// The lap distance arrives in tenths of a kilometre (or mile) and is kept in m (or yd).
int32_t LapDistance(int32_t tenths, bool imperial) {
  const double value = tenths / 10.0;
  return exercise::RoundHalfUp(
      imperial ? exercise::ConvertUnit(value, exercise::kMile, exercise::kYard)
               : exercise::ConvertUnit(value, exercise::kKilometre, exercise::kMetre));
}

void DecodeLap(const MemoryReader& m, ExerciseStore& s, const Layout& l, int32_t area, int32_t i) {
  const Family& f = l.family;
  const LapRecordBytes b(m, area, l.long_laps ? f.long_lap : f.short_lap, i);
  const int32_t time = LapSplitTime(b);
  const int32_t lap = s.InsertLap(kRec, time, false);
  if (lap < 0) return;  // outside the exercise, a repeated time, or no memory
  s.SetLapField(kRec, lap, 607, b(3), false);
  s.SetLapField(kRec, lap, 609, b(4), false);
  s.SetLapField(kRec, lap, 610, b(5), false);
  if (f.channels && l.speed) {
    s.SetLapField(kRec, lap, 604, LapDistance(b(6) + b(7) * 256, l.imperial), false);
    if (l.third) s.SetLapField(kRec, lap, 613, b(8), false);
    s.SetLapField(kRec, lap, 611, SpeedSteps(b(9) + (b(10) & 15) * 256), false);
  }
  if (l.long_laps) DecodeLapMarker(s, f, b, lap, time);
  s.SetLapField(kRec, lap, 625, l.lap_mode, false);
}

int32_t Analyze(const MemoryReader& m, ExerciseStore& s, int32_t monitor_type,
                const Family& family) {
  s.ResetExerciseRecord(kRec);
  s.SetExerciseParam(kRec, exercise::kParamMonitorType, monitor_type);
  Layout layout{family};
  DecodeTiming(m, s, layout);
  DecodeOptions(m, s, layout);
  DecodeLimitsAndTotals(m, s, family);
  if (family.channels) s.SetExerciseParam(kRec, 40, s.GetExerciseParam(kRec, 11) / 1000);
  s.SetExerciseFlag(kRec, 21, 1);

  const Areas areas = LocateAreas(layout);
  if (!StoreSamples(m, s, layout, areas)) ui::message_box_host().show(kErrorInData, kCaption);
  for (int32_t i = 0; i < layout.laps; ++i)
    DecodeLap(m, s, layout, areas.laps, i);
  if (s.GetLapCount(kRec) > 0) s.SetExerciseFlag(kRec, 13, 1);
  return 1;
}

}  // namespace

int32_t AnalyzeTonvoxFile(int32_t monitor_type) {
  const std::optional<Family> family = FamilyOf(monitor_type);
  if (!family) return 0;
  Module& mod = module();
  return Analyze(MemoryReader(mod.exercise_memory), mod.exercise_store, monitor_type, *family);
}

}  // namespace quibra::sound

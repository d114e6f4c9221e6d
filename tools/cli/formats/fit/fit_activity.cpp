#include "fit_activity.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

#include "fit_encoder.h"
#include "fit_profile.h"

namespace quibra::cli::formats {
namespace {

using fit::Field;
using Value = std::optional<double>;

// Local message types, one per kind of message: each is defined once, before its first message.
enum Local : uint8_t { kFileId, kEvent, kRecord, kHrv, kLap, kSession, kActivity };

// The encoder seen through the profile: definitions name fields, data messages give values in
// the fields' own units (seconds, metres, bpm), one per element of each field.
class Messages {
 public:
  void Define(Local local, std::vector<Field> fields) {
    std::vector<fit::FieldLayout> layout;
    for (Field f : fields) {
      const fit::FieldSpec& field = fit::SpecOf(f);
      layout.push_back({field.number, field.type, field.count});
    }
    encoder_.Define(local, static_cast<uint16_t>(fit::SpecOf(fields.front()).message), layout);
    fields_[local] = std::move(fields);
  }

  void Write(Local local, std::span<const Value> values) {
    std::vector<fit::RawValue> raw;
    size_t next = 0;
    for (Field f : fields_[local]) {
      const fit::FieldSpec& field = fit::SpecOf(f);
      for (int i = 0; i < field.count && next < values.size(); ++i)
        raw.push_back(Raw(field, values[next++]));
    }
    encoder_.Write(local, raw);
  }
  void Write(Local local, std::initializer_list<Value> values) {
    Write(local, std::span(values.begin(), values.size()));
  }

  std::vector<uint8_t> File() const { return encoder_.File(); }

 private:
  static fit::RawValue Raw(const fit::FieldSpec& field, Value value) {
    if (!value) return std::nullopt;
    const double raw = std::round((*value + field.offset) * field.scale);
    // Not a number, or far beyond any base type: empty, so the encoder writes it as invalid.
    if (!std::isfinite(raw) || std::abs(raw) > 1e12) return std::nullopt;
    return static_cast<int64_t>(raw);
  }

  fit::Encoder encoder_;
  std::vector<Field> fields_[fit::Encoder::kLocalTypes];
};

int SportOf(Sport sport) {
  switch (sport) {
    case Sport::kRunning:
      return fit::kSportRunning;
    case Sport::kCycling:
      return fit::kSportCycling;
    case Sport::kGeneric:
      break;
  }
  return fit::kSportGeneric;
}

template <typename T>
Value Optional(const std::optional<T>& v) {
  return v ? Value(static_cast<double>(*v)) : std::nullopt;
}

Value Known(double v) {
  return v > 0 ? Value(v) : std::nullopt;
}

// What the samples say of the whole exercise: the average and maximum heart rate (0 without
// any) and the furthest distance.
struct SampleTotals {
  int32_t average_heart_rate = 0;
  int32_t maximum_heart_rate = 0;
  double distance_m = 0;
};

SampleTotals TotalsOf(const std::vector<ActivityPoint>& points) {
  SampleTotals t;
  double sum = 0;
  int count = 0;
  for (const ActivityPoint& p : points) {
    if (p.distance_m) t.distance_m = std::max(t.distance_m, *p.distance_m);
    if (!p.heart_rate) continue;
    sum += *p.heart_rate;
    ++count;
    t.maximum_heart_rate = std::max(t.maximum_heart_rate, *p.heart_rate);
  }
  if (count > 0) t.average_heart_rate = static_cast<int32_t>(std::lround(sum / count));
  return t;
}

// The laps to write: the exercise's own, or one lap of the whole exercise when it has none.
std::vector<ActivityLap> LapsOf(const Activity& a, double duration_s, const SampleTotals& t) {
  if (!a.laps.empty()) return a.laps;
  ActivityLap lap;
  lap.duration_s = duration_s;
  lap.distance_m = t.distance_m;
  lap.average_heart_rate = t.average_heart_rate;
  lap.maximum_heart_rate = t.maximum_heart_rate;
  return {lap};
}

struct Summary {
  Value average_heart_rate;
  Value maximum_heart_rate;
  Value distance_m;
  Value ascent_m;
};

// The session's figures: the heart rate and distance of the samples where there are any, of the
// laps where not.
Summary SummaryOf(const SampleTotals& t, const std::vector<ActivityLap>& laps, bool has_altitude) {
  double weighted = 0;
  double timed = 0;
  double distance = 0;
  double ascent = 0;
  int32_t maximum = 0;
  for (const ActivityLap& lap : laps) {
    if (lap.average_heart_rate > 0) {
      weighted += lap.average_heart_rate * lap.duration_s;
      timed += lap.duration_s;
    }
    maximum = std::max(maximum, lap.maximum_heart_rate);
    distance += lap.distance_m;
    ascent += lap.ascent_m;
  }
  Summary s;
  if (t.maximum_heart_rate > 0) {
    s.average_heart_rate = t.average_heart_rate;
    s.maximum_heart_rate = t.maximum_heart_rate;
  } else {
    if (timed > 0) s.average_heart_rate = std::round(weighted / timed);
    s.maximum_heart_rate = Known(maximum);
  }
  s.distance_m = Known(t.distance_m > 0 ? t.distance_m : distance);
  // A lap's ascent of 0 means "none" only when the exercise recorded altitude.
  if (has_altitude) s.ascent_m = std::round(ascent);
  return s;
}

// The record channels: those that at least one sample has.
std::vector<Field> RecordFields(const std::vector<ActivityPoint>& points) {
  std::vector<Field> fields{Field::kRecordTimestamp};
  auto any = [&](auto member) {
    return std::any_of(points.begin(), points.end(),
                       [&](const ActivityPoint& p) { return (p.*member).has_value(); });
  };
  if (any(&ActivityPoint::heart_rate)) fields.push_back(Field::kRecordHeartRate);
  if (any(&ActivityPoint::speed_mps)) fields.push_back(Field::kRecordSpeed);
  if (any(&ActivityPoint::distance_m)) fields.push_back(Field::kRecordDistance);
  if (any(&ActivityPoint::altitude_m)) fields.push_back(Field::kRecordAltitude);
  if (any(&ActivityPoint::cadence_rpm)) fields.push_back(Field::kRecordCadence);
  if (any(&ActivityPoint::power_w)) fields.push_back(Field::kRecordPower);
  return fields;
}

Value PointValue(const ActivityPoint& p, Field f) {
  switch (f) {
    case Field::kRecordHeartRate:
      return Optional(p.heart_rate);
    case Field::kRecordSpeed:
      return p.speed_mps;
    case Field::kRecordDistance:
      return p.distance_m;
    case Field::kRecordAltitude:
      return p.altitude_m;
    case Field::kRecordCadence:
      return Optional(p.cadence_rpm);
    case Field::kRecordPower:
      return Optional(p.power_w);
    default:
      return std::nullopt;
  }
}

constexpr size_t kBeatsPerHrv = 5;

// The R-R intervals in messages of five, each written once the sample clock has passed its
// last beat, so that a reader meets the beats beside the samples of the same moment. The last
// message holds what is left, its empty places invalid.
class HrvWriter {
 public:
  HrvWriter(Messages& m, const std::vector<int32_t>& rr_ms) : messages_(m), rr_ms_(rr_ms) {
    if (!rr_ms_.empty()) messages_.Define(kHrv, {Field::kHrvTime});
  }

  // Writes the full messages whose beats all came by `time_s` since the start.
  void Until(double time_s) {
    while (next_ + kBeatsPerHrv <= rr_ms_.size()) {
      double end = elapsed_s_;
      for (size_t i = next_; i < next_ + kBeatsPerHrv; ++i)
        end += rr_ms_[i] / 1000.0;
      if (end > time_s) return;
      WriteNext(kBeatsPerHrv);
    }
  }

  void Rest() {
    while (next_ < rr_ms_.size())
      WriteNext(std::min(kBeatsPerHrv, rr_ms_.size() - next_));
  }

 private:
  void WriteNext(size_t beats) {
    Value times[kBeatsPerHrv];
    for (size_t i = 0; i < beats; ++i, ++next_) {
      times[i] = rr_ms_[next_] / 1000.0;
      elapsed_s_ += *times[i];
    }
    messages_.Write(kHrv, times);
  }

  Messages& messages_;
  const std::vector<int32_t>& rr_ms_;
  size_t next_ = 0;
  double elapsed_s_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodeFitActivity(const Activity& a) {
  // FIT times are whole seconds: sample times round to the nearest, and samples of an R-R
  // recording less than a second apart may share one; every sample is kept.
  const double start = static_cast<double>(a.start_unix_s - fit::kFitEpochUnixSeconds);
  auto at = [&](double seconds_in) { return start + std::round(seconds_in); };
  double duration_s = a.duration_s;
  if (duration_s <= 0 && !a.points.empty()) duration_s = a.points.back().time_s;
  const double end = at(duration_s);
  const int sport = SportOf(a.sport);

  Messages m;
  m.Define(kFileId, {Field::kFileIdType, Field::kFileIdManufacturer, Field::kFileIdTimeCreated});
  m.Write(kFileId, {fit::kFileTypeActivity, fit::kManufacturerDevelopment, start});

  m.Define(kEvent, {Field::kEventTimestamp, Field::kEventEvent, Field::kEventType});
  m.Write(kEvent, {start, fit::kEventTimer, fit::kEventTypeStart});

  HrvWriter hrv(m, a.rr_ms);
  const std::vector<Field> record_fields = RecordFields(a.points);
  if (!a.points.empty()) m.Define(kRecord, record_fields);
  std::vector<Value> values;
  for (const ActivityPoint& p : a.points) {
    hrv.Until(p.time_s);
    values.clear();
    values.push_back(at(p.time_s));
    for (size_t i = 1; i < record_fields.size(); ++i)
      values.push_back(PointValue(p, record_fields[i]));
    m.Write(kRecord, values);
  }
  hrv.Rest();

  m.Write(kEvent, {end, fit::kEventTimer, fit::kEventTypeStopAll});

  const bool has_altitude = std::find(record_fields.begin(), record_fields.end(),
                                      Field::kRecordAltitude) != record_fields.end();
  const SampleTotals totals = TotalsOf(a.points);
  const std::vector<ActivityLap> laps = LapsOf(a, duration_s, totals);
  m.Define(kLap,
           {Field::kLapMessageIndex, Field::kLapTimestamp, Field::kLapEvent, Field::kLapEventType,
            Field::kLapStartTime, Field::kLapTotalElapsedTime, Field::kLapTotalTimerTime,
            Field::kLapTotalDistance, Field::kLapAverageHeartRate, Field::kLapMaximumHeartRate,
            Field::kLapTotalAscent, Field::kLapIntensity, Field::kLapTrigger, Field::kLapSport});
  for (size_t i = 0; i < laps.size(); ++i) {
    const ActivityLap& lap = laps[i];
    const bool last = i + 1 == laps.size();
    m.Write(kLap,
            {static_cast<double>(i), at(lap.start_s + lap.duration_s), fit::kEventLap,
             fit::kEventTypeStop, at(lap.start_s), lap.duration_s, lap.duration_s,
             Known(lap.distance_m), Known(lap.average_heart_rate), Known(lap.maximum_heart_rate),
             has_altitude ? Value(std::round(lap.ascent_m)) : std::nullopt, fit::kIntensityActive,
             last ? fit::kLapTriggerSessionEnd : fit::kLapTriggerManual, sport});
  }

  const Summary s = SummaryOf(totals, laps, has_altitude);
  m.Define(kSession,
           {Field::kSessionMessageIndex, Field::kSessionTimestamp, Field::kSessionEvent,
            Field::kSessionEventType, Field::kSessionStartTime, Field::kSessionSport,
            Field::kSessionSubSport, Field::kSessionTotalElapsedTime, Field::kSessionTotalTimerTime,
            Field::kSessionTotalDistance, Field::kSessionAverageHeartRate,
            Field::kSessionMaximumHeartRate, Field::kSessionTotalAscent,
            Field::kSessionFirstLapIndex, Field::kSessionNumberOfLaps, Field::kSessionTrigger});
  m.Write(kSession,
          {0, end, fit::kEventSession, fit::kEventTypeStop, start, sport, fit::kSubSportGeneric,
           duration_s, duration_s, s.distance_m, s.average_heart_rate, s.maximum_heart_rate,
           s.ascent_m, 0, static_cast<double>(laps.size()), fit::kSessionTriggerActivityEnd});

  m.Define(kActivity,
           {Field::kActivityTimestamp, Field::kActivityTotalTimerTime,
            Field::kActivityNumberOfSessions, Field::kActivityType, Field::kActivityEvent,
            Field::kActivityEventType, Field::kActivityLocalTimestamp});
  m.Write(kActivity, {end, duration_s, 1, fit::kActivityTypeManual, fit::kEventActivity,
                      fit::kEventTypeStop, end});
  return m.File();
}

}  // namespace quibra::cli::formats

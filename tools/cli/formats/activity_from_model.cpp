#include "activity_from_model.h"

#include <algorithm>
#include <cmath>

namespace quibra::cli::formats {
namespace {

constexpr double kMetresPerMile = 1609.344;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerYard = 0.9144;

struct MonitorSport {
  int32_t monitor;
  Sport sport;
};
constexpr MonitorSport kSports[] = {
    {28, Sport::kRunning}, {30, Sport::kRunning}, {36, Sport::kRunning}, {37, Sport::kRunning},
    {38, Sport::kRunning}, {29, Sport::kCycling}, {31, Sport::kCycling}, {32, Sport::kCycling},
    {33, Sport::kCycling}, {34, Sport::kCycling}, {35, Sport::kCycling},
};

void AddChannels(const ExerciseModel& m, const Sample& s, ActivityPoint& p) {
  if (m.has_speed()) p.speed_mps = SpeedMetresPerSecond(m, s.speed);
  if (m.has_altitude()) p.altitude_m = AltitudeMetres(m, s.altitude);
  if (m.has_cadence()) p.cadence_rpm = s.cadence;
  if (m.has_power()) p.power_w = s.power;
}

std::vector<ActivityPoint> Points(const ExerciseModel& m, std::vector<int32_t>& rr_ms) {
  std::vector<ActivityPoint> points;
  points.reserve(m.samples.size());
  double t = 0;
  const double interval = m.params.interval > 0 ? m.params.interval : 1;
  for (size_t i = 0; i < m.samples.size(); ++i) {
    const Sample& s = m.samples[i];
    ActivityPoint p;
    if (m.rr()) {
      if (s.heart_rate <= 0) continue;  // no beat
      rr_ms.push_back(s.heart_rate);
      t += s.heart_rate / 1000.0;
      p.time_s = t;
      p.heart_rate = static_cast<int32_t>(std::lround(60000.0 / s.heart_rate));
    } else {
      p.time_s = static_cast<double>(i) * interval;
      if (s.heart_rate > 0) p.heart_rate = s.heart_rate;
    }
    AddChannels(m, s, p);
    points.push_back(p);
  }
  // The speed of a sample holds over the time since the one before it.
  if (m.has_speed()) {
    double distance = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      if (i > 0) distance += *points[i].speed_mps * (points[i].time_s - points[i - 1].time_s);
      points[i].distance_m = distance;
    }
  }
  return points;
}

// The lap [start, end) with what the points inside it say; the unit's own values win where it
// gave them.
ActivityLap MakeLap(const ExerciseModel& m, const std::vector<ActivityPoint>& points, double start,
                    double end, const Lap* unit_lap) {
  ActivityLap lap;
  lap.start_s = start;
  lap.duration_s = end - start;
  int64_t sum = 0;
  int32_t count = 0;
  const ActivityPoint* first = nullptr;
  const ActivityPoint* last = nullptr;
  const ActivityPoint* previous = nullptr;
  for (const ActivityPoint& p : points) {
    if (p.time_s < start) {
      previous = &p;
      continue;
    }
    if (p.time_s >= end) break;
    if (first == nullptr) first = &p;
    if (p.heart_rate) {
      sum += *p.heart_rate;
      ++count;
      lap.maximum_heart_rate = std::max(lap.maximum_heart_rate, *p.heart_rate);
    }
    if (previous != nullptr && p.altitude_m && previous->altitude_m &&
        *p.altitude_m > *previous->altitude_m) {
      lap.ascent_m += *p.altitude_m - *previous->altitude_m;
    }
    previous = &p;
    last = &p;
  }
  if (count > 0) lap.average_heart_rate = static_cast<int32_t>(std::lround(double(sum) / count));
  if (first != nullptr && last != nullptr && last->distance_m && first->distance_m)
    lap.distance_m = *last->distance_m - *first->distance_m;
  if (unit_lap != nullptr) {
    if (unit_lap->average_hr() > 0) lap.average_heart_rate = unit_lap->average_hr();
    if (unit_lap->max_hr() > 0) lap.maximum_heart_rate = unit_lap->max_hr();
    if (unit_lap->distance() > 0) lap.distance_m = LapDistanceMetres(m, unit_lap->distance());
  }
  return lap;
}

}  // namespace

int64_t DaysFromEpoch(int32_t yyyymmdd) {
  // Counted in eras of 400 years (146097 days), with years that start in March so that the leap
  // day ends a year.
  int64_t y = yyyymmdd / 10000;
  const int64_t mo = yyyymmdd / 100 % 100;
  const int64_t d = yyyymmdd % 100;
  y -= mo <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Sport SportOfMonitor(int32_t monitor) {
  for (const MonitorSport& s : kSports) {
    if (s.monitor == monitor) return s.sport;
  }
  return Sport::kGeneric;
}

double SpeedMetresPerSecond(const ExerciseModel& m, int32_t speed_tenths) {
  const double per_hour = speed_tenths / 10.0;
  return m.imperial() ? per_hour * kMetresPerMile / 3600 : per_hour / 3.6;
}

double AltitudeMetres(const ExerciseModel& m, int32_t altitude) {
  return m.imperial() ? altitude * kMetresPerFoot : altitude;
}

double LapDistanceMetres(const ExerciseModel& m, int32_t distance) {
  return m.imperial() ? distance * kMetresPerYard : distance;
}

Activity ActivityFromModel(const ExerciseModel& m) {
  Activity a;
  a.start_unix_s = m.params.date > 0 ? DaysFromEpoch(m.params.date) * 86400 : 0;
  a.start_unix_s += m.params.start_tenths / 10;
  a.sport = SportOfMonitor(m.params.monitor);
  a.points = Points(m, a.rr_ms);
  a.duration_s = m.params.length_tenths / 10.0;
  if (a.duration_s <= 0 && !a.points.empty()) a.duration_s = a.points.back().time_s;
  double start = 0;
  for (const Lap& lap : m.laps) {
    const double end = lap.split_tenths() / 10.0;
    if (end <= start) continue;  // a repeated or unordered mark adds no lap
    a.laps.push_back(MakeLap(m, a.points, start, end, &lap));
    start = end;
  }
  if (a.duration_s > start || a.laps.empty())
    a.laps.push_back(MakeLap(m, a.points, start, std::max(a.duration_s, start), nullptr));
  return a;
}

}  // namespace quibra::cli::formats

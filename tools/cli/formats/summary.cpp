#include "summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "activity_from_model.h"

namespace quibra::cli::formats {
namespace {

constexpr double kMetresPerMile = 1609.344;
constexpr double kFeetPerMetre = 1 / 0.3048;

std::string Format(const char* format, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

std::string DistanceText(const Summary& s, double metres) {
  return s.imperial ? Format("%.2f mi", metres / kMetresPerMile) : Format("%.2f km", metres / 1000);
}

}  // namespace

std::string ClockText(double seconds) {
  const auto s = static_cast<int64_t>(std::llround(std::max(0.0, seconds)));
  return Format("%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
}

Summary SummaryOf(const ExerciseModel& m) {
  const Activity a = ActivityFromModel(m);
  Summary s;
  s.date = m.params.date;
  s.start_tenths = m.params.start_tenths;
  s.duration_s = a.duration_s;
  s.imperial = m.imperial();
  s.laps = a.laps;
  for (size_t k = 0; k < 3; ++k) {
    if (const auto pair = m.params.limits(k))
      s.zones.push_back({static_cast<int>(k + 1), pair->first, pair->second});
  }
  int64_t sum = 0;
  int32_t count = 0;
  for (size_t i = 0; i < a.points.size(); ++i) {
    const ActivityPoint& p = a.points[i];
    if (!p.heart_rate) continue;
    const int32_t hr = *p.heart_rate;
    sum += hr;
    ++count;
    s.max_hr = std::max(s.max_hr, hr);
    // The time this heart rate stands for: to the next sample, or one interval for the last.
    double span = 0;
    if (m.rr()) {
      span = 60.0 / hr;
    } else if (i + 1 < a.points.size()) {
      span = a.points[i + 1].time_s - p.time_s;
    } else {
      span = m.params.interval > 0 ? m.params.interval : 1;
    }
    for (ZoneTimes& z : s.zones)
      (hr < z.lower ? z.below_s : hr > z.upper ? z.above_s : z.within_s) += span;
  }
  if (count > 0) s.average_hr = static_cast<int32_t>(std::lround(double(sum) / count));
  if (!a.points.empty() && a.points.back().distance_m) {
    s.distance_m = *a.points.back().distance_m;
  } else {
    double total = 0;
    for (const ActivityLap& lap : a.laps)
      total += lap.distance_m;
    if (total > 0) s.distance_m = total;
  }
  if (m.has_altitude()) {
    double ascent = 0;
    for (const ActivityLap& lap : a.laps)
      ascent += lap.ascent_m;
    s.ascent_m = ascent;
  }
  return s;
}

std::string SummaryText(const Summary& s) {
  std::string out;
  const int32_t start = s.start_tenths / 10;
  out += Format("Date        %04d-%02d-%02d %02d:%02d:%02d\n", s.date / 10000, s.date / 100 % 100,
                s.date % 100, start / 3600, start / 60 % 60, start % 60);
  out += "Duration    " + ClockText(s.duration_s) + "\n";
  if (s.max_hr > 0) {
    out += Format("Heart rate  average %d bpm, maximum %d bpm\n", s.average_hr, s.max_hr);
  } else {
    out += "Heart rate  none recorded\n";
  }
  for (const ZoneTimes& z : s.zones) {
    out += Format("Limits %d    %d-%d bpm: below %s, within %s, above %s\n", z.number, z.lower,
                  z.upper, ClockText(z.below_s).c_str(), ClockText(z.within_s).c_str(),
                  ClockText(z.above_s).c_str());
  }
  if (s.distance_m) out += "Distance    " + DistanceText(s, *s.distance_m) + "\n";
  if (s.ascent_m) {
    out += s.imperial ? Format("Ascent      %.0f ft\n", *s.ascent_m * kFeetPerMetre)
                      : Format("Ascent      %.0f m\n", *s.ascent_m);
  }
  out += Format("Laps        %zu\n", s.laps.size());
  out += "   #      end     time  avg HR  max HR   distance\n";
  for (size_t i = 0; i < s.laps.size(); ++i) {
    const ActivityLap& lap = s.laps[i];
    out += Format("%4zu %8s %8s %7d %7d %10s\n", i + 1,
                  ClockText(lap.start_s + lap.duration_s).c_str(),
                  ClockText(lap.duration_s).c_str(), lap.average_heart_rate, lap.maximum_heart_rate,
                  lap.distance_m > 0 ? DistanceText(s, lap.distance_m).c_str() : "-");
  }
  return out;
}

}  // namespace quibra::cli::formats

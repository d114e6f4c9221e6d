#include "tcx_activity.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>

#include <pugixml.hpp>

namespace quibra::cli::formats {
namespace {

constexpr const char* kNamespace = "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2";
constexpr const char* kSchemaLocation =
    "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2 "
    "http://www.garmin.com/xmlschemas/TrainingCenterDatabasev2.xsd";
// Speed and power have no place of their own in a track point: the activity extension holds them.
constexpr const char* kExtensionNamespace = "http://www.garmin.com/xmlschemas/ActivityExtension/v2";

// A number with at most `decimals` places, without trailing zeros ("827.4", "120").
std::string Number(double value, int decimals) {
  char text[64];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return "0";
  std::string s(text, end);
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

// ISO 8601 in UTC ("2026-11-28T07:15:00Z"), with milliseconds when the time has a fraction:
// samples of an R-R recording fall between whole seconds.
std::string IsoTime(int64_t start_unix_s, double offset_s) {
  using namespace std::chrono;
  const int64_t ms = start_unix_s * 1000 + std::llround(offset_s * 1000);
  const sys_time<milliseconds> t{milliseconds(ms)};
  const sys_days day = floor<days>(t);
  const year_month_day date{day};
  const hh_mm_ss clock{t - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  std::string s = text;
  if (const auto fraction = clock.subseconds().count(); fraction != 0) {
    std::snprintf(text, sizeof text, ".%03d", static_cast<int>(fraction));
    s += text;
  }
  return s + "Z";
}

const char* SportName(Sport sport) {
  switch (sport) {
    case Sport::kRunning:
      return "Running";
    case Sport::kCycling:
      return "Biking";
    case Sport::kGeneric:
      break;
  }
  return "Other";
}

void AddText(pugi::xml_node parent, const char* name, const std::string& text) {
  parent.append_child(name).text().set(text.c_str());
}

// Heart rates are wrapped in a Value element.
void AddHeartRate(pugi::xml_node parent, const char* name, int32_t bpm) {
  parent.append_child(name).append_child("Value").text().set(std::to_string(bpm).c_str());
}

// The laps to write: the exercise's own, or one lap of the whole exercise when it has none, with
// the heart rate of its samples.
std::vector<ActivityLap> LapsOf(const Activity& a) {
  if (!a.laps.empty()) return a.laps;
  ActivityLap lap;
  lap.duration_s = a.duration_s > 0 || a.points.empty() ? a.duration_s : a.points.back().time_s;
  int64_t sum = 0;
  int count = 0;
  for (const ActivityPoint& p : a.points) {
    if (p.distance_m) lap.distance_m = std::max(lap.distance_m, *p.distance_m);
    if (!p.heart_rate) continue;
    sum += *p.heart_rate;
    ++count;
    lap.maximum_heart_rate = std::max(lap.maximum_heart_rate, *p.heart_rate);
  }
  if (count > 0)
    lap.average_heart_rate = static_cast<int32_t>(std::lround(static_cast<double>(sum) / count));
  return {lap};
}

void AddTrackpoint(pugi::xml_node track, const Activity& a, const ActivityPoint& p) {
  pugi::xml_node point = track.append_child("Trackpoint");
  AddText(point, "Time", IsoTime(a.start_unix_s, p.time_s));
  if (p.altitude_m) AddText(point, "AltitudeMeters", Number(*p.altitude_m, 2));
  if (p.distance_m) AddText(point, "DistanceMeters", Number(*p.distance_m, 2));
  // The format knows heart rates from 1 and cadences to 254.
  if (p.heart_rate && *p.heart_rate >= 1 && *p.heart_rate <= 255)
    AddHeartRate(point, "HeartRateBpm", *p.heart_rate);
  if (p.cadence_rpm && *p.cadence_rpm >= 0 && *p.cadence_rpm <= 254)
    AddText(point, "Cadence", std::to_string(*p.cadence_rpm));
  if (p.speed_mps || p.power_w) {
    pugi::xml_node tpx = point.append_child("Extensions").append_child("TPX");
    tpx.append_attribute("xmlns") = kExtensionNamespace;
    if (p.speed_mps) AddText(tpx, "Speed", Number(*p.speed_mps, 3));
    if (p.power_w && *p.power_w >= 0) AddText(tpx, "Watts", std::to_string(*p.power_w));
  }
}

}  // namespace

std::string EncodeTcxActivity(const Activity& a) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = document.append_child("TrainingCenterDatabase");
  root.append_attribute("xmlns") = kNamespace;
  root.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
  root.append_attribute("xsi:schemaLocation") = kSchemaLocation;

  pugi::xml_node activity = root.append_child("Activities").append_child("Activity");
  activity.append_attribute("Sport") = SportName(a.sport);
  AddText(activity, "Id", IsoTime(a.start_unix_s, 0));

  const std::vector<ActivityLap> laps = LapsOf(a);
  size_t next_point = 0;
  for (size_t i = 0; i < laps.size(); ++i) {
    const ActivityLap& l = laps[i];
    const bool last = i + 1 == laps.size();
    pugi::xml_node lap = activity.append_child("Lap");
    lap.append_attribute("StartTime") = IsoTime(a.start_unix_s, l.start_s).c_str();
    AddText(lap, "TotalTimeSeconds", Number(l.duration_s, 3));
    // Distance and calories must be there: 0 says "not measured".
    AddText(lap, "DistanceMeters", Number(l.distance_m, 2));
    AddText(lap, "Calories", "0");
    if (l.average_heart_rate > 0) AddHeartRate(lap, "AverageHeartRateBpm", l.average_heart_rate);
    if (l.maximum_heart_rate > 0) AddHeartRate(lap, "MaximumHeartRateBpm", l.maximum_heart_rate);
    AddText(lap, "Intensity", "Active");
    AddText(lap, "TriggerMethod", "Manual");
    // A sample belongs to the lap running at its time; those before the first lap go with the
    // first, those after the last with the last.
    const double lap_end = last ? INFINITY : laps[i + 1].start_s;
    pugi::xml_node track;
    for (; next_point < a.points.size() && a.points[next_point].time_s < lap_end; ++next_point) {
      if (!track) track = lap.append_child("Track");
      AddTrackpoint(track, a, a.points[next_point]);
    }
  }

  std::ostringstream out;
  document.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
  return out.str();
}

}  // namespace quibra::cli::formats

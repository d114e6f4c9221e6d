#include "json_writer.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace quibra::cli::formats {
namespace {

using json = nlohmann::ordered_json;

// 12.3 for 123 tenths (the JSON text is the shortest that reads back as the same double).
json Tenths(int32_t tenths) {
  return tenths / 10.0;
}

std::string SModeText(const SMode& s) {
  std::string text;
  for (bool digit : {s.speed, s.cadence, s.altitude, s.power, s.balance, s.index, s.extended,
                     s.imperial, s.pressure})
    text += digit ? '1' : '0';
  return text;
}

std::string DateText(int32_t yyyymmdd) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100,
                yyyymmdd % 100);
  return text;
}

json ParamsJson(const ExerciseModel& m) {
  const ExerciseParams& p = m.params;
  json j = {{"Version", p.version},
            {"Monitor", p.monitor},
            {"SMode", SModeText(p.smode)},
            {"Units", m.imperial() ? "imperial" : "metric"},
            {"Date", DateText(p.date)},
            {"StartTime", TenthsText(p.start_tenths)},
            {"Length", TenthsText(p.length_tenths)},
            {"Interval", p.interval}};
  for (size_t i = 0; i < 3; ++i) {
    j["Upper" + std::to_string(i + 1)] = p.upper[i];
    j["Lower" + std::to_string(i + 1)] = p.lower[i];
  }
  for (size_t i = 0; i < 3; ++i)
    j["Timer" + std::to_string(i + 1)] = TenthsText(p.timer_tenths[i]);
  j["ActiveLimit"] = p.active_limit;
  j["MaxHR"] = p.max_hr;
  j["RestHR"] = p.rest_hr;
  j["StartDelay"] = p.start_delay;
  j["VO2max"] = p.vo2max;
  j["Weight"] = p.weight;
  return j;
}

json LapJson(const Lap& lap) {
  json rows = json::array();
  for (size_t r = 0; r < Lap::kRows; ++r) {
    json row = json::array();
    for (size_t c = 0; c < static_cast<size_t>(Lap::kRowWidth[r]); ++c)
      row.push_back(r == 0 && c == 0 ? json(TenthsText(lap.rows[r][c])) : json(lap.rows[r][c]));
    rows.push_back(row);
  }
  return {{"Time", TenthsText(lap.split_tenths())},
          {"HeartRate", lap.heart_rate()},
          {"MinHR", lap.min_hr()},
          {"AverageHR", lap.average_hr()},
          {"MaxHR", lap.max_hr()},
          {"Speed", Tenths(lap.speed())},
          {"Cadence", lap.cadence()},
          {"Altitude", lap.altitude()},
          {"Distance", lap.distance()},
          {"Power", lap.power()},
          {"Temperature", Tenths(lap.temperature_tenths())},
          {"Rows", rows}};
}

json SamplesJson(const ExerciseModel& m) {
  json samples = json::array();
  const int32_t interval = m.params.interval > 0 ? m.params.interval : 1;
  int64_t beat_ms = 0;
  for (size_t i = 0; i < m.samples.size(); ++i) {
    const Sample& s = m.samples[i];
    json j;
    if (m.rr()) {
      beat_ms += s.heart_rate;
      j["Seconds"] = static_cast<double>(beat_ms) / 1000.0;
      j["RRms"] = s.heart_rate;
    } else {
      j["Seconds"] = static_cast<int64_t>(i) * interval;
      j["HeartRate"] = s.heart_rate;
    }
    if (m.has_speed()) j["Speed"] = Tenths(s.speed);
    if (m.has_cadence()) j["Cadence"] = s.cadence;
    if (m.has_altitude()) j["Altitude"] = s.altitude;
    if (m.has_power()) j["Power"] = s.power;
    if (m.has_balance()) j["Balance"] = s.balance;
    if (m.has_pressure()) j["AirPressure"] = s.pressure;
    samples.push_back(std::move(j));
  }
  return samples;
}

}  // namespace

std::string TenthsText(int32_t tenths) {
  const int32_t s = tenths / 10;
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%d", s / 3600, s % 3600 / 60, s % 60,
                tenths - 10 * s);
  return text;
}

std::string JsonText(const ExerciseModel& m) {
  json j = {{"Params", ParamsJson(m)}, {"Note", m.note}};
  json laps = json::array();
  for (const Lap& lap : m.laps)
    laps.push_back(LapJson(lap));
  j["Laps"] = std::move(laps);
  if (m.trip) j["Trip"] = *m.trip;
  j["Samples"] = SamplesJson(m);
  return j.dump(2) + "\n";
}

}  // namespace quibra::cli::formats

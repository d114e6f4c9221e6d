#include "csv_writer.h"

#include <cmath>
#include <cstdio>

namespace quibra::cli::formats {
namespace {

// A number with the given decimals, "12.3"; whole numbers without a point.
std::string Decimal(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::string CsvText(const ExerciseModel& m) {
  const bool imperial = m.imperial();
  std::string out = "time_s,";
  out += m.rr() ? "rr_ms,heart_rate_bpm" : "heart_rate_bpm";
  if (m.has_speed()) out += imperial ? ",speed_mph" : ",speed_kmh";
  if (m.has_cadence()) out += ",cadence_rpm";
  if (m.has_altitude()) out += imperial ? ",altitude_ft" : ",altitude_m";
  if (m.has_power()) out += ",power_w";
  if (m.has_balance()) out += ",balance";
  if (m.has_pressure()) out += ",air_pressure";
  out += '\n';
  out.reserve(out.size() + m.samples.size() * 24);
  const int32_t interval = m.params.interval > 0 ? m.params.interval : 1;
  int64_t beat_ms = 0;
  for (size_t i = 0; i < m.samples.size(); ++i) {
    const Sample& s = m.samples[i];
    if (m.rr()) {
      beat_ms += s.heart_rate;
      out += Decimal(beat_ms / 1000.0, 3) + ',' + std::to_string(s.heart_rate) + ',';
      out += s.heart_rate > 0 ? std::to_string(std::lround(60000.0 / s.heart_rate)) : "";
    } else {
      out +=
          std::to_string(static_cast<int64_t>(i) * interval) + ',' + std::to_string(s.heart_rate);
    }
    if (m.has_speed()) out += ',' + Decimal(s.speed / 10.0, 1);
    if (m.has_cadence()) out += ',' + std::to_string(s.cadence);
    if (m.has_altitude()) out += ',' + std::to_string(s.altitude);
    if (m.has_power()) out += ',' + std::to_string(s.power);
    if (m.has_balance()) out += ',' + std::to_string(s.balance);
    if (m.has_pressure()) out += ',' + std::to_string(s.pressure);
    out += '\n';
  }
  return out;
}

}  // namespace quibra::cli::formats

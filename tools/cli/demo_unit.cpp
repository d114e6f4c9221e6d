#include "demo_unit.h"

#include <cmath>

#include "encoders/k_series_encoder.h"

namespace quibra::cli {
namespace {

using sim::KSeriesExercise;
using sim::KSeriesLap;
using sim::KSeriesSample;

constexpr int32_t kIntervalSeconds[] = {5, 15, 60, 5};

// A heart rate that warms up, holds around `level` with a slow swing, and cools down.
int32_t HeartRate(int32_t i, int32_t count, int32_t level) {
  const double warm = std::min(1.0, i / 60.0);
  const double cool = std::min(1.0, (count - i) / 30.0);
  const double swing = 6.0 * std::sin(i / 25.0);
  return static_cast<int32_t>(70 + (level - 70) * warm * cool + swing);
}

KSeriesExercise Exercise(const char* name, int32_t day, int32_t hour, int32_t samples,
                         int32_t interval_code, int32_t level) {
  KSeriesExercise x;
  x.name = name;
  x.year = 2026;
  x.month = 11;
  x.day = day;
  x.hour = hour;
  x.minute = 15;
  x.interval_code = interval_code;
  x.duration_tenths = samples * kIntervalSeconds[interval_code] * 10;
  // Each limit stores its lower bound first and its upper bound second.
  x.limits = {{{true, 120, 150}, {true, 150, 170}, {true, 170, 185}}};
  for (int32_t i = 0; i < samples; ++i) {
    KSeriesSample s;
    s.heart_rate = HeartRate(i, samples, level);
    x.samples.push_back(s);
  }
  return x;
}

void AddLaps(KSeriesExercise& x, int32_t every_tenths) {
  for (int32_t t = every_tenths; t < x.duration_tenths; t += every_tenths) {
    const auto at = static_cast<size_t>(t / (kIntervalSeconds[x.interval_code] * 10));
    KSeriesLap lap;
    lap.tenths = t;
    lap.heart_rate = x.samples[std::min(at, x.samples.size() - 1)].heart_rate;
    lap.average = lap.heart_rate - 4;
    lap.maximum = lap.heart_rate + 9;
    x.laps.push_back(lap);
  }
}

}  // namespace

std::vector<uint8_t> DemoExerciseMemory(int32_t type, uint8_t product_code, int32_t version) {
  // A 45-minute run with a lap every 10 minutes.
  KSeriesExercise run = Exercise("Run", 28, 7, 540, 0, 152);
  AddLaps(run, 6000);

  // A 90-minute ride, sampled every 15 s, with speed, cadence and altitude.
  KSeriesExercise ride = Exercise("Ride", 29, 9, 360, 1, 138);
  ride.sensors = {1, true, true, false};
  ride.average_speed = 430;
  ride.maximum_speed = 760;
  ride.average_cadence = 86;
  ride.maximum_cadence = 104;
  ride.altitude_summary = {120, 40, 310};
  for (size_t i = 0; i < ride.samples.size(); ++i) {
    const double t = static_cast<double>(i);
    KSeriesSample& s = ride.samples[i];
    s.speed = static_cast<int32_t>(430 + 120 * std::sin(t / 30.0));
    s.cadence = static_cast<int32_t>(86 + 8 * std::sin(t / 11.0));
    s.altitude = static_cast<int32_t>(120 + 150 * (1 - std::cos(t / 57.3)));
  }
  AddLaps(ride, 18000);

  // Six hard 3-minute efforts in a 40-minute session.
  KSeriesExercise intervals = Exercise("Interval", 30, 18, 480, 0, 160);
  for (size_t i = 0; i < intervals.samples.size(); ++i) {
    if ((i / 36) % 2 == 1) intervals.samples[i].heart_rate += 15;
  }
  AddLaps(intervals, 1800);

  return sim::KSeriesSingleImage({run, ride, intervals}, type, product_code,
                                 static_cast<uint8_t>(version));
}

}  // namespace quibra::cli

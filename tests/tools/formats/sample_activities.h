// Two exercises as the tool hands them to its file writers: a resting R-R recording and a ride
// with every other channel, for the tests that read the files back with other makers' readers.
#pragma once

#include <cmath>
#include <cstdint>

#include "../../../tools/cli/formats/activity.h"

namespace quibra::testing {

using quibra::cli::formats::Activity;
using quibra::cli::formats::ActivityPoint;
using quibra::cli::formats::Sport;

inline constexpr int64_t kStart = 1795850100;  // 2026-11-28 07:15:00

// A resting recording with R-R intervals: a sample at each beat (so at odd fractions of a
// second), heart rate only, no laps of its own.
inline Activity RrActivity() {
  Activity a;
  a.start_unix_s = kStart;
  double t = 0;
  for (int i = 0; i < 43; ++i) {
    const int32_t rr = 700 + (i * 37) % 260;
    a.rr_ms.push_back(rr);
    t += rr / 1000.0;
    ActivityPoint p;
    p.time_s = t;
    p.heart_rate = static_cast<int32_t>(std::lround(60000.0 / rr));
    a.points.push_back(p);
  }
  a.duration_s = t;
  return a;
}

// A ride: every channel but R-R, power on some samples only, a gap in the heart rate, a climb
// from below sea level, three laps.
inline Activity RideActivity() {
  Activity a;
  a.start_unix_s = kStart;
  a.sport = Sport::kCycling;
  a.duration_s = 300;
  for (int i = 0; i <= 60; ++i) {
    ActivityPoint p;
    p.time_s = i * 5;
    if (i != 7) p.heart_rate = 110 + i;
    p.speed_mps = 8.0 + (i % 9) * 0.123;
    p.distance_m = i * 41.37;
    p.altitude_m = -12.4 + i * 2.6;
    p.cadence_rpm = 85 + i % 5;
    if (i % 4 == 0) p.power_w = 180 + i;
    a.points.push_back(p);
  }
  a.laps = {{0, 100, 827.4, 120, 130, 52},
            {100, 100, 827.4, 140, 150, 52.2},
            {200, 100, 827.4, 160, 170, 51.6}};
  return a;
}

}  // namespace quibra::testing

// What the tests of the tool's file writers share: two exercises as the tool hands them to the
// writers, and running a reader of another maker on a written file.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "../../../tools/cli/formats/activity.h"

namespace quibra::testing {

using cli::formats::Activity;
using cli::formats::ActivityPoint;

inline constexpr int64_t kStart = 1795850100;  // 2026-11-28 07:15:00

// A resting recording with R-R intervals: a sample at each beat (so at odd fractions of a
// second), heart rate only, no laps of its own.
inline Activity RrActivity() {
  Activity a;
  a.start_unix_s = kStart;
  for (int i = 0; i < 43; ++i) {
    const int32_t rr = 700 + (i * 37) % 260;
    a.rr_ms.push_back(rr);
    a.duration_s += rr / 1000.0;
    ActivityPoint& p = a.points.emplace_back();
    p.time_s = a.duration_s;
    p.heart_rate = std::lround(60000.0 / rr);
  }
  return a;
}

// A ride: every channel but R-R, power on some samples only, a gap in the heart rate, a climb
// from below sea level, three laps.
inline Activity RideActivity() {
  Activity a;
  a.start_unix_s = kStart;
  a.sport = cli::formats::Sport::kCycling;
  a.duration_s = 300;
  for (int i = 0; i <= 60; ++i) {
    ActivityPoint& p = a.points.emplace_back();
    p.time_s = i * 5;
    if (i != 7) p.heart_rate = 110 + i;
    p.speed_mps = 8.0 + (i % 9) * 0.123;
    p.distance_m = i * 41.37;
    p.altitude_m = -12.4 + i * 2.6;
    p.cadence_rpm = 85 + i % 5;
    if (i % 4 == 0) p.power_w = 180 + i;
  }
  a.laps = {{0, 100, 827.4, 120, 130, 52},
            {100, 100, 827.4, 140, 150, 52.2},
            {200, 100, 827.4, 160, 170, 51.6}};
  return a;
}

// Standard output of `command` run by the shell; empty when it failed.
inline std::string OutputOf(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 4096> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
    output += buffer.data();
  return pclose(pipe) == 0 ? output : std::string();
}

inline bool Installed(const std::string& program) {
  return !OutputOf("command -v " + program + " 2>/dev/null").empty();
}

template <typename Bytes>
void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace quibra::testing

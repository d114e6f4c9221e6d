#include "exercise_images.h"

#include <vector>

#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "sim/encoders/prvc_file_encoder.h"

namespace quibra::bench {
namespace {

constexpr int32_t kKSeriesSamples = 3450;   // 9 bytes each: an exercise just below 32 KiB
constexpr int32_t kOutdoorSamples = 10500;  // 3 bytes each
constexpr int32_t kLaps = 40;
// 8 bytes each (heart rate, altitude, speed and its distance, cadence): a file just below the
// 262144 bytes of the exercise memory.
constexpr int32_t kFileSamples = 30000;

sim::KSeriesExercise Ride(int32_t seed) {
  sim::KSeriesExercise x;
  x.sensors = {2, true, true, true};
  x.extended_laps = true;
  x.altitude_summary = {100, 200, 300};
  x.duration_tenths = kKSeriesSamples * 50;
  for (int32_t i = 0; i < kKSeriesSamples; ++i) {
    x.samples.push_back({90 + (i + seed) % 100, -1, (i * 7) % 2000, i % 200, (i * 3) % 3000,
                         (i * 11) % 1500, i % 256, (i * 5) % 256});
  }
  for (int32_t i = 0; i < kLaps; ++i) {
    sim::KSeriesLap lap;
    lap.tenths = 3000 * (i + 1);
    lap.heart_rate = 150;
    lap.speed = 1000;
    lap.distance = 10 * i;
    x.laps.push_back(lap);
  }
  return x;
}

sim::OutdoorExercise Hike(int32_t seed) {
  sim::OutdoorExercise x;
  x.duration_s = kOutdoorSamples * 5;
  x.altitude_b = 100;
  for (int32_t i = 0; i < kOutdoorSamples; ++i)
    x.samples.push_back({90 + (i + seed) % 100, i % 9 == 0, 1000 + (i * 3) % 900});
  for (int32_t i = 0; i < kLaps; ++i)
    x.laps.push_back({1, 300 * (i + 1), 150, 100, 8000, 15, i, i, 0});
  return x;
}

}  // namespace

sim::Bytes FullKSeriesMemory() {
  std::vector<sim::KSeriesExercise> xs;
  for (int32_t i = 0; i < kExercises; ++i)
    xs.push_back(Ride(i));
  return sim::KSeriesWholeImage(xs, 22, 19, 2);
}

sim::Bytes FullOutdoorMemory() {
  std::vector<sim::OutdoorExercise> xs;
  for (int32_t i = 0; i < kExercises; ++i)
    xs.push_back(Hike(i));
  return sim::OutdoorWholeImage(xs, 21, 102);
}

sim::Bytes FullType38File() {
  sim::FileExercise x;
  x.type = 38;
  x.product_code = 174;
  x.speed = x.cadence = x.altitude = true;
  x.duration_tenths = kFileSamples * 10;
  x.segments = {{1, {}}};
  for (int32_t i = 0; i < kFileSamples; ++i) {
    sim::FileSample s;
    s.heart_rate = 90 + i % 100;
    s.speed = 100 + i % 200;
    s.cadence = 60 + i % 40;
    s.altitude = i % 900;
    x.segments[0].records.push_back(s);
  }
  for (int32_t i = 0; i < kLaps; ++i)
    x.laps.push_back({3000 * (i + 1), false, 150, 140, 170, 2560, 2560, 4000 * i});
  return sim::EncodeFileExercise(x);
}

}  // namespace quibra::bench

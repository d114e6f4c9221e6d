// How fast fnQuibra_AnalyzeFile decodes a full exercise memory: every exercise of a whole-memory
// image of a K-series unit (all sensor channels, extended laps) and of an outdoor unit, and an
// exercise file of a type 38 unit as large as the memory takes. Reports bytes per second of image
// and the allocations per pass (only the record store's growth steps, and for the file the
// buffers of its data pages).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "protocol/exercise_memory.h"
#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "sim/encoders/prvc_file_encoder.h"
#include "support/counting_new.h"
#include "support/exercise_image.h"

namespace {

using quibra::sim::Bytes;

constexpr int32_t kExercises = 8;
constexpr int32_t kKSeriesSamples = 3450;   // 9 bytes each: an exercise just below 32 KiB
constexpr int32_t kOutdoorSamples = 10500;  // 3 bytes each
constexpr int32_t kLaps = 40;
// 8 bytes each (heart rate, altitude, speed and its distance, cadence): a file just below the
// 262144 bytes of the exercise memory.
constexpr int32_t kFileSamples = 30000;

quibra::sim::KSeriesExercise Ride(int32_t seed) {
  quibra::sim::KSeriesExercise x;
  x.sensors = {2, true, true, true};
  x.extended_laps = true;
  x.altitude_summary = {100, 200, 300};
  x.duration_tenths = kKSeriesSamples * 50;
  for (int32_t i = 0; i < kKSeriesSamples; ++i) {
    x.samples.push_back({90 + (i + seed) % 100, -1, (i * 7) % 2000, i % 200, (i * 3) % 3000,
                         (i * 11) % 1500, i % 256, (i * 5) % 256});
  }
  for (int32_t i = 0; i < kLaps; ++i) {
    quibra::sim::KSeriesLap lap;
    lap.tenths = 3000 * (i + 1);
    lap.heart_rate = 150;
    lap.speed = 1000;
    lap.distance = 10 * i;
    x.laps.push_back(lap);
  }
  return x;
}

quibra::sim::OutdoorExercise Hike(int32_t seed) {
  quibra::sim::OutdoorExercise x;
  x.duration_s = kOutdoorSamples * 5;
  x.altitude_b = 100;
  for (int32_t i = 0; i < kOutdoorSamples; ++i)
    x.samples.push_back({90 + (i + seed) % 100, i % 9 == 0, 1000 + (i * 3) % 900});
  for (int32_t i = 0; i < kLaps; ++i)
    x.laps.push_back({1, 300 * (i + 1), 150, 100, 8000, 15, i, i, 0});
  return x;
}

Bytes FullKSeriesMemory() {
  std::vector<quibra::sim::KSeriesExercise> xs;
  for (int32_t i = 0; i < kExercises; ++i)
    xs.push_back(Ride(i));
  return quibra::sim::KSeriesWholeImage(xs, 22, 19, 2);
}

Bytes FullOutdoorMemory() {
  std::vector<quibra::sim::OutdoorExercise> xs;
  for (int32_t i = 0; i < kExercises; ++i)
    xs.push_back(Hike(i));
  return quibra::sim::OutdoorWholeImage(xs, 21, 102);
}

Bytes FullType38File() {
  quibra::sim::FileExercise x;
  x.type = 38;
  x.product_code = 174;
  x.speed = x.cadence = x.altitude = true;
  x.duration_tenths = kFileSamples * 10;
  x.segments = {{1, {}}};
  for (int32_t i = 0; i < kFileSamples; ++i) {
    quibra::sim::FileSample s;
    s.heart_rate = 90 + i % 100;
    s.speed = 100 + i % 200;
    s.cadence = 60 + i % 40;
    s.altitude = i % 900;
    x.segments[0].records.push_back(s);
  }
  for (int32_t i = 0; i < kLaps; ++i)
    x.laps.push_back({3000 * (i + 1), false, 150, 140, 170, 2560, 2560, 4000 * i});
  return quibra::sim::EncodeFileExercise(x);
}

void DecodeWholeMemory(benchmark::State& state, const Bytes& image) {
  quibra::frame::LoadModule();
  if (image.size() > static_cast<size_t>(quibra::protocol::kExerciseMemoryLimit) ||
      !quibra::testing::LoadExerciseImage(image)) {
    state.SkipWithError("the image does not fit the exercise memory");
    return;
  }
  int64_t samples = 0;
  const int64_t allocations_before = quibra::testing::AllocationCount();
  for (auto _ : state) {
    for (int32_t n = 0; n < kExercises; ++n) {
      if (fnQuibra_AnalyzeFile(n, 1) != 1) {
        state.SkipWithError("an exercise did not decode");
        return;
      }
      samples += fnQuibra_GetNbrOfHRMSamples();
    }
  }
  const auto passes = static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(image.size()));
  state.counters["samples/s"] =
      benchmark::Counter(static_cast<double>(samples), benchmark::Counter::kIsRate);
  state.counters["allocations/pass"] =
      static_cast<double>(quibra::testing::AllocationCount() - allocations_before) / passes;
  state.counters["image_bytes"] = static_cast<double>(image.size());
  quibra::frame::UnloadModule();
}

void BM_DecodeFullKSeriesMemory(benchmark::State& state) {
  static const Bytes image = FullKSeriesMemory();
  DecodeWholeMemory(state, image);
}
BENCHMARK(BM_DecodeFullKSeriesMemory)->Unit(benchmark::kMillisecond);

void BM_DecodeFullOutdoorMemory(benchmark::State& state) {
  static const Bytes image = FullOutdoorMemory();
  DecodeWholeMemory(state, image);
}
BENCHMARK(BM_DecodeFullOutdoorMemory)->Unit(benchmark::kMillisecond);

void BM_DecodeFullType38File(benchmark::State& state) {
  static const Bytes image = FullType38File();
  quibra::frame::LoadModule();
  if (!quibra::testing::LoadExerciseImage(image)) {
    state.SkipWithError("the file does not fit the exercise memory");
    return;
  }
  int64_t samples = 0;
  const int64_t allocations_before = quibra::testing::AllocationCount();
  for (auto _ : state) {
    quibra::module().unit.type = 38;
    if (fnQuibra_AnalyzeFile(0, 0) != 1) {
      state.SkipWithError("the file did not decode");
      return;
    }
    samples += fnQuibra_GetNbrOfHRMSamples();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(image.size()));
  state.counters["samples/s"] =
      benchmark::Counter(static_cast<double>(samples), benchmark::Counter::kIsRate);
  state.counters["allocations/pass"] =
      static_cast<double>(quibra::testing::AllocationCount() - allocations_before) /
      static_cast<double>(state.iterations());
  state.counters["image_bytes"] = static_cast<double>(image.size());
  quibra::frame::UnloadModule();
}
BENCHMARK(BM_DecodeFullType38File)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

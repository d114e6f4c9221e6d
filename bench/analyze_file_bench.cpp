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
#include "exercise_images.h"
#include "support/counting_new.h"
#include "support/exercise_image.h"

namespace {

using quibra::bench::FullKSeriesMemory;
using quibra::bench::FullOutdoorMemory;
using quibra::bench::FullType38File;
using quibra::bench::kExercises;
using quibra::sim::Bytes;

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

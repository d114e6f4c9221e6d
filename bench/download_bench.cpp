// How close a download comes to the line's own speed: the library downloads a full exercise
// memory from the simulated unit over a pty, the unit paced at 9600 baud (11 bits per byte) and
// answering after a real unit's turnaround, with the library's real pauses. Reports the measured
// time, the time the bytes alone need on the wire (both directions), and their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/lifecycle.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "unit.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kType = 22;
constexpr uint8_t kProductCode = 19;
// A real unit starts its answer only after the host has cleared its input (50 ms after writing).
constexpr std::chrono::milliseconds kTurnaround{60};
constexpr double kSecondsPerByte = 11.0 / 9600.0;
constexpr size_t kRequestBytes = 7;  // 9011, 9022: header and checksum
constexpr size_t kFrameOverhead = 7;  // answer header, packet number, checksum

std::vector<uint8_t> Memory(size_t n) {
  std::vector<uint8_t> image(n);
  for (size_t i = 0; i < n; ++i)
    image[i] = static_cast<uint8_t>(i * 29 + 3);
  image[2] = kProductCode;
  image[3] = 2;
  return image;
}

// The bytes of a whole download on the wire: the request, one acknowledgement per packet, and
// every packet frame.
size_t WireBytes(size_t memory) {
  const size_t per = quibra::sim::Unit::kPacketData;
  const size_t packets = (memory + per - 1) / per;
  return kRequestBytes * (packets + 1) + memory + kFrameOverhead * packets;
}

void BM_DownloadFullMemory(benchmark::State& state) {
  const auto size = static_cast<size_t>(state.range(0));
  quibra::frame::LoadModule();
  quibra::sim::Unit unit(kType, 2);
  if (!unit.set_exercise_memory(Memory(size))) {
    state.SkipWithError("memory too large for one train");
    return;
  }
  quibra::sim::SerialLink link(unit, true, kTurnaround);
  const std::string path = link.start();
  if (path.empty() || fnQuibra_StartIRCommunication(0, path.c_str()) != 1) {
    state.SkipWithError("no line");
    return;
  }
  double measured = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const int32_t result = fnQuibra_ReadExercisesData(0, 0);
    measured = std::chrono::duration<double>(Clock::now() - start).count();
    if (result != 1 || fnKx2GetNbrOfMemtrBytes() != static_cast<int32_t>(size)) {
      state.SkipWithError("download failed");
      break;
    }
    state.SetIterationTime(measured);
  }
  const double wire = static_cast<double>(WireBytes(size)) * kSecondsPerByte;
  state.counters["seconds"] = measured;
  state.counters["wire_seconds"] = wire;
  state.counters["ratio"] = measured / wire;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  quibra::frame::UnloadModule();  // the engine ends before the line
  link.stop();
}

// 32036 bytes: the whole memory of a type-22 unit; 4096 for a quick run.
BENCHMARK(BM_DownloadFullMemory)
    ->Arg(4096)
    ->Arg(32036)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();

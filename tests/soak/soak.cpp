// Soak: many conversations with the simulated unit in one process, and many loads and unloads of
// the shared library, sampling the process's descriptors, threads and memory as they go. Nothing
// may grow: descriptors and threads not at all, the heap and resident memory not past a small
// tolerance once warmed up. Prints every sample; exits 1 when something grew.
//   soak [conversations [dlopen-cycles [sample-every]]]
#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "frame/lifecycle.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "sim/encoders/k_series_encoder.h"
#include "unit.h"

namespace {

namespace fs = std::filesystem;

// Memory may settle by this much after the warm-up (allocator caches, the sim's request log is
// cleared each round); a leak of one conversation's buffers would pass it within a few hundred.
constexpr long kHeapToleranceKiB = 256;
constexpr long kResidentToleranceKiB = 2048;

// Under a sanitizer, freed memory waits in its quarantine and every loaded copy of the library
// keeps its shadow, so resident memory grows by design; there the sanitizer's own leak check at
// exit stands in for the memory samples, and only descriptors and threads are checked.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryIsMeasured = false;
#else
constexpr bool kMemoryIsMeasured = true;
#endif

struct Sample {
  int cycle;
  size_t fds, threads;
  long heap_kib, resident_kib;
};

size_t Entries(const char* dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
    ++n;
  return n;
}

Sample Take(int cycle) {
  // A thread that has just been joined may still be listed for a moment.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return {cycle, Entries("/proc/self/fd"), Entries("/proc/self/task"),
          static_cast<long>(mallinfo2().uordblks / 1024), resident * sysconf(_SC_PAGESIZE) / 1024};
}

// Prints the samples and checks them: descriptors and threads as in the first, memory within
// the tolerance of the second (after the warm-up) from then on.
bool Report(const char* what, const std::vector<Sample>& samples) {
  std::printf("%s\n%8s %5s %7s %9s %12s\n", what, "cycle", "fds", "threads", "heap KiB",
              "resident KiB");
  for (const Sample& s : samples)
    std::printf("%8d %5zu %7zu %9ld %12ld\n", s.cycle, s.fds, s.threads, s.heap_kib,
                s.resident_kib);
  bool flat = true;
  for (size_t i = 0; i < samples.size(); ++i) {
    const Sample& s = samples[i];
    const Sample& warm = samples[std::min<size_t>(1, i)];
    flat &= s.fds == samples[0].fds && s.threads == samples[0].threads &&
            (!kMemoryIsMeasured || (s.heap_kib - warm.heap_kib <= kHeapToleranceKiB &&
                                    s.resident_kib - warm.resident_kib <= kResidentToleranceKiB));
  }
  std::printf("%s: %s%s\n\n", what, flat ? "flat" : "GREW",
              kMemoryIsMeasured ? "" : " (descriptors and threads; memory is the sanitizer's)");
  return flat;
}

std::vector<uint8_t> ExerciseMemory() {
  quibra::sim::KSeriesExercise x;
  x.name = "Soak";
  x.year = 2009, x.month = 5, x.day = 12, x.hour = 7, x.minute = 30, x.second = 0;
  x.interval_code = 0;
  x.duration_tenths = 600 * 5 * 10;
  for (int i = 0; i < 600; ++i)
    x.samples.push_back({.heart_rate = 80 + i % 90});
  return quibra::sim::KSeriesSingleImage({x, x}, 22, 19, 2);
}

// One conversation as an application has it: identify, read the user settings, download.
// 0 when all went well, else the step that failed (1 start, 2 identify, 3 settings, 4 download).
int Converse(const std::string& port) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  MonitorInfo info{};
  UserSettings user{};
  int failed = 0;
  if (fnQuibra_StartIRCommunication(0, port.c_str()) != 1) {
    failed = 1;
  } else if (fnQuibra_ReadMonitorInfo(&params, &info) != 1 || info.MonitorInUse != 22) {
    failed = 2;
  } else if (fnQuibra_ReadUserSettings(&params, &user) != 1) {
    failed = 3;
  } else if (fnQuibra_ReadExercisesData(0, 0) != 1 || fnKx2GetNbrOfMemtrBytes() <= 0) {
    failed = 4;
  }
  fnQuibra_EndIRCommunication(0);
  return failed;
}

bool Conversations(int count, int every) {
  // Twice the suite's pace: a machine busy with other work still answers within the tries.
  quibra::platform::ScaledClock clock(0.02);
  quibra::platform::set_clock(&clock);
  quibra::sim::Unit unit(22, 2, 19);
  unit.set_exercise_memory(ExerciseMemory());
  quibra::sim::SerialLink line(unit, false, std::chrono::milliseconds(10));
  const std::string port = line.start();
  std::vector<Sample> samples;
  int failed = 0;
  for (int i = 1; i <= count; ++i) {
    if (const int step = Converse(port)) {
      ++failed;
      std::printf("conversation %d failed at step %d (error code %d)\n", i, step,
                  fnQuibra_GetErrorCode());
    }
    unit.clear_requests();
    if (i == 1 || i % every == 0) samples.push_back(Take(i));
  }
  line.stop();
  quibra::platform::set_clock(nullptr);
  std::printf("%d conversations, %d failed\n", count, failed);
  return Report("conversations", samples) && failed == 0;
}

// The shared library as an application loads it: a fresh copy each time, whose communication is
// started on a line and stopped before it is unloaded.
bool LoadCycles(int count, int every, const std::string& port) {
  using Start = int32_t (*)(int32_t, const char*);
  using End = int32_t (*)(int32_t);
  std::vector<Sample> samples;
  int failed = 0;
  for (int i = 1; i <= count; ++i) {
    void* library = dlopen(QUIBRA_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      std::fprintf(stderr, "soak: %s\n", dlerror());
      return false;
    }
    auto start = reinterpret_cast<Start>(dlsym(library, "fnQuibra_StartIRCommunication"));
    auto end = reinterpret_cast<End>(dlsym(library, "fnQuibra_EndIRCommunication"));
    failed += start != nullptr && end != nullptr && start(0, port.c_str()) == 1 ? 0 : 1;
    if (end != nullptr) end(0);
    failed += dlclose(library) == 0 ? 0 : 1;
    if (i == 1 || i % every == 0) samples.push_back(Take(i));
  }
  std::printf("%d load cycles, %d failed\n", count, failed);
  return Report("load cycles", samples) && failed == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int conversations = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int cycles = argc > 2 ? std::atoi(argv[2]) : 200;
  const int every = argc > 3 ? std::max(1, std::atoi(argv[3])) : 100;
  // The in-process library is the static core: its Module is loaded here, not by a loader.
  quibra::frame::LoadModule();
  bool ok = Conversations(conversations, every);
  quibra::frame::UnloadModule();
  // The loaded copies need a line to open; a simulated unit stands at its other end.
  quibra::sim::Unit unit(22, 2, 19);
  quibra::sim::SerialLink line(unit, false, std::chrono::milliseconds(10));
  ok = LoadCycles(cycles, std::max(1, every / 5), line.start()) && ok;
  line.stop();
  return ok ? 0 : 1;
}

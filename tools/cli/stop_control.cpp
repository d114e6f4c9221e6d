#include "stop_control.h"

#include <signal.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "command_line.h"
#include "quibra/quibra.h"

namespace quibra::cli {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int32_t kCancel = 2;
// While a stop is pending the Cancel button is pressed this often: a dialog that opens after the
// stop (the next step of the command) is cancelled as soon as it shows.
constexpr auto kPressEvery = 50ms;
// A library call that does not return this long after Cancel would keep the user waiting
// forever: the process ends without it (its partial files removed).
constexpr auto kGrace = 2s;
constexpr auto kIdleWait = 1s;

std::atomic<StopReason> g_reason{StopReason::None};
double g_timeout = 0;
std::mutex g_library_mutex;
bool g_library_open = true;  // under g_library_mutex
std::mutex g_files_mutex;
std::vector<std::string> g_partial_files;

timespec ToTimespec(Clock::duration d) {
  const auto ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(d, Clock::duration{1ms}));
  return {static_cast<time_t>(ns.count() / 1000000000), static_cast<long>(ns.count() % 1000000000)};
}

[[noreturn]] void EndNow() {
  {
    std::lock_guard lock(g_files_mutex);
    for (const std::string& path : g_partial_files)
      std::remove(path.c_str());
  }
  std::_Exit(ReportStop());
}

void Watch(sigset_t signals) {
  const bool bounded = g_timeout > 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                        std::chrono::duration<double>(g_timeout));
  Clock::time_point stopped_at{};
  for (;;) {
    const bool stopping = g_reason.load() != StopReason::None;
    Clock::duration wait = stopping ? Clock::duration{kPressEvery} : Clock::duration{kIdleWait};
    if (!stopping && bounded) wait = std::min(wait, deadline - Clock::now());
    const timespec ts = ToTimespec(wait);
    const int signal_number = sigtimedwait(&signals, nullptr, &ts);
    if (signal_number == SIGINT || signal_number == SIGTERM) {
      if (stopping) EndNow();  // a second signal: the sender will not wait for the library
      g_reason = signal_number == SIGINT ? StopReason::Interrupted : StopReason::Terminated;
    } else if (!stopping && bounded && Clock::now() >= deadline) {
      g_reason = StopReason::TimedOut;
    }
    if (g_reason.load() == StopReason::None) continue;
    if (stopped_at == Clock::time_point{}) stopped_at = Clock::now();
    {
      std::lock_guard lock(g_library_mutex);
      if (g_library_open) {
        fnQuibraExt_PressDialogButton(kCancel);
        fnQuibra_CancelExerciseReading();
      }
    }
    if (Clock::now() - stopped_at > kGrace) EndNow();
  }
}

}  // namespace

void StartStopControl(double timeout_seconds) {
  g_timeout = timeout_seconds;
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // inherited by every thread started later
  std::thread(Watch, signals).detach();
}

std::unique_lock<std::mutex> HoldLibraryCalls() {
  return std::unique_lock(g_library_mutex);
}

void EndStopControl() {
  std::lock_guard lock(g_library_mutex);
  g_library_open = false;
}

namespace {
std::atomic<bool> g_stop_is_end{false};
}  // namespace

void TakeStopAsEnd() {
  g_stop_is_end = true;
}

bool StopTakenAsEnd() {
  return g_stop_is_end.load();
}

StopReason RequestedStop() {
  return g_reason.load();
}

int ReportStop() {
  if (g_reason.load() == StopReason::TimedOut) {
    std::fprintf(stderr, "quibra: timed out after %g s\n", g_timeout);
    return kExitTimedOut;
  }
  if (g_reason.load() == StopReason::Terminated) {
    std::fprintf(stderr, "quibra: terminated\n");
    return kExitTerminated;
  }
  std::fprintf(stderr, "quibra: cancelled\n");
  return kExitCancelled;
}

void RegisterPartialFile(const std::string& path) {
  std::lock_guard lock(g_files_mutex);
  g_partial_files.push_back(path);
}

void ForgetPartialFile(const std::string& path) {
  std::lock_guard lock(g_files_mutex);
  std::erase(g_partial_files, path);
}

}  // namespace quibra::cli

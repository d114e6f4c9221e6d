// posix backend of the clock: CLOCK_MONOTONIC for ticks and the performance counter,
// localtime_r for the local date and time, nanosleep for pauses (a wakeable pause waits on its
// signal's condition).
#include <time.h>

#include <cerrno>

#include "platform/clock.h"

namespace quibra::platform {
namespace {

uint64_t monotonic_ns() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

class PosixClock final : public Clock {
 public:
  uint32_t tick_ms() override { return static_cast<uint32_t>(monotonic_ns() / 1000000ull); }
  uint64_t performance_counter() override { return monotonic_ns(); }
  uint64_t performance_frequency() override { return 1000000000ull; }

  LocalDateTime local_now() override {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm parts{};
    localtime_r(&ts.tv_sec, &parts);
    LocalDateTime now;
    now.year = parts.tm_year + 1900;
    now.month = parts.tm_mon + 1;
    now.day = parts.tm_mday;
    now.weekday = parts.tm_wday;
    now.hour = parts.tm_hour;
    now.minute = parts.tm_min;
    now.second = parts.tm_sec;
    now.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return now;
  }

  void sleep_ms(uint32_t ms) override {
    timespec rest{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
  }

  // The signal's condition waits on the monotonic clock, like the ticks.
  bool sleep_ms_unless(uint32_t ms, WakeSignal& wake) override {
    return wake.wait_for(std::chrono::milliseconds(ms));
  }
};

}  // namespace

Clock& system_clock() {
  static PosixClock instance;
  return instance;
}

}  // namespace quibra::platform

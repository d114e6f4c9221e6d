// The clock interface of the platform seam: tick counts, the performance counter, the local
// date and time, and sleeps. Every pause and poll of the library goes through it, which is what
// lets tests replace it with a clock whose pauses are a fraction of their real length.
#pragma once

#include <cstdint>

namespace quibra::platform {

struct LocalDateTime {
  int year = 0;     // four digits
  int month = 0;    // 1..12
  int day = 0;      // 1..31
  int weekday = 0;  // 0 = Sunday .. 6 = Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Contract: every member may be called from any thread at any time and never fails.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, wrapping at 2^32 like the system tick count.
  virtual uint32_t tick_ms() = 0;
  // A high-resolution counter and its frequency in counts per second.
  virtual uint64_t performance_counter() = 0;
  virtual uint64_t performance_frequency() = 0;
  // The local calendar date and time of day.
  virtual LocalDateTime local_now() = 0;
  // Blocks the calling thread for about the given number of milliseconds.
  virtual void sleep_ms(uint32_t ms) = 0;
};

// The operating system's clock (posix or win32 backend, chosen at build time).
Clock& system_clock();

}  // namespace quibra::platform

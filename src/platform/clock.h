// The clock interface of the platform seam: tick counts, the performance counter, the local
// date and time, and sleeps. Every pause and poll of the library goes through it, which is what
// lets tests replace it with a clock whose pauses are a fraction of their real length.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

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

// A wake-up for pauses that a request must be able to cut short (a stop of the communication
// thread): raising it ends the waits on it at once, and keeps new ones from starting until it is
// cleared. Its lock is innermost (frame/locks.h, order 6): held for one read or write, and
// released while a waiter waits.
class WakeSignal {
 public:
  void raise() {
    {
      std::lock_guard lock(mutex_);
      raised_ = true;
    }
    woken_.notify_all();
  }
  void clear() {
    std::lock_guard lock(mutex_);
    raised_ = false;
  }
  bool raised() {
    std::lock_guard lock(mutex_);
    return raised_;
  }
  // Waits up to the given real time for the signal; true when it is raised.
  bool wait_for(std::chrono::milliseconds real) {
    std::unique_lock lock(mutex_);
    return woken_.wait_for(lock, real, [this] { return raised_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool raised_ = false;
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
  // Blocks like sleep_ms, but returns as soon as the signal is raised (at once when it already
  // is); true when the signal ended or preceded the pause. The operating system's clocks and the
  // scaled clock wait on the signal itself. This default suits clocks whose pauses are not real
  // time (a clock that only moves its count, a decorator that watches every pause through
  // sleep_ms): the pause runs whole and the signal is looked at before and after it.
  virtual bool sleep_ms_unless(uint32_t ms, WakeSignal& wake) {
    if (wake.raised()) return true;
    sleep_ms(ms);
    return wake.raised();
  }
};

// The operating system's clock (posix or win32 backend, chosen at build time).
Clock& system_clock();

}  // namespace quibra::platform

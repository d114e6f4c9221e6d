// A clock decorator for tests, the simulator and the demo: it can fix the local date and time,
// and it shortens every pause by a time scale while letting the tick count run faster by the
// same factor, so the library's fixed protocol pauses and time-outs keep their proportions.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>

#include "platform/clock.h"

namespace quibra::platform {

class ScaledClock final : public Clock {
 public:
  // scale 1.0 = real time, 0.01 = every pause takes a hundredth of its length.
  explicit ScaledClock(double scale = 1.0, Clock& inner = system_clock());

  void set_scale(double scale);
  void fix_local_time(const LocalDateTime& when);
  void release_local_time();

  uint32_t tick_ms() override;
  uint64_t performance_counter() override;
  uint64_t performance_frequency() override;
  LocalDateTime local_now() override;
  void sleep_ms(uint32_t ms) override;
  bool sleep_ms_unless(uint32_t ms, WakeSignal& wake) override;

 private:
  // A pause of ms at the current scale; never 0 for a pause that is not.
  uint32_t scaled_pause(uint32_t ms) const;

  Clock& inner_;
  // The scale is read on every tick and sleep, from any thread (the sound demodulator reads
  // the tick once per block of samples): an atomic, not the lock.
  std::atomic<double> scale_;
  std::mutex mutex_;  // lock order 6, innermost (frame/locks.h): guards the fixed local time
  uint32_t start_tick_;
  std::optional<LocalDateTime> fixed_;
};

}  // namespace quibra::platform

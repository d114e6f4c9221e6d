#include "platform/scaled_clock.h"

#include <cmath>

namespace quibra::platform {

ScaledClock::ScaledClock(double scale, Clock& inner)
    : inner_(inner), scale_(scale > 0 ? scale : 1.0), start_tick_(inner.tick_ms()) {}

void ScaledClock::set_scale(double scale) {
  if (scale > 0) scale_.store(scale, std::memory_order_relaxed);
}

void ScaledClock::fix_local_time(const LocalDateTime& when) {
  std::lock_guard lock(mutex_);
  fixed_ = when;
}

void ScaledClock::release_local_time() {
  std::lock_guard lock(mutex_);
  fixed_.reset();
}

uint32_t ScaledClock::tick_ms() {
  const double scale = scale_.load(std::memory_order_relaxed);
  // Elapsed real time, stretched by the scale: a 100 ms pause at scale 0.01 takes 1 ms of
  // real time and still advances the tick count by 100.
  const uint32_t elapsed = inner_.tick_ms() - start_tick_;
  return start_tick_ + static_cast<uint32_t>(static_cast<uint64_t>(elapsed / scale));
}

uint64_t ScaledClock::performance_counter() {
  return inner_.performance_counter();
}

uint64_t ScaledClock::performance_frequency() {
  const double scale = scale_.load(std::memory_order_relaxed);
  // The counter runs faster by the scale like the tick count: at 0.01 a hundredth of the counts
  // make a second, so a recording clock read from it keeps pace with the shortened pauses.
  const auto scaled = static_cast<uint64_t>(static_cast<double>(inner_.performance_frequency()) *
                                            scale);
  return scaled > 0 ? scaled : 1;
}

LocalDateTime ScaledClock::local_now() {
  {
    std::lock_guard lock(mutex_);
    if (fixed_) return *fixed_;
  }
  return inner_.local_now();
}

uint32_t ScaledClock::scaled_pause(uint32_t ms) const {
  const double scale = scale_.load(std::memory_order_relaxed);
  const auto scaled = static_cast<uint32_t>(std::ceil(ms * scale));
  return ms == 0 ? 0 : (scaled == 0 ? 1 : scaled);
}

void ScaledClock::sleep_ms(uint32_t ms) {
  inner_.sleep_ms(scaled_pause(ms));
}

// The shortened pause is handed on as a wakeable one, so that a stop cuts it short here as it
// does on the clock underneath.
bool ScaledClock::sleep_ms_unless(uint32_t ms, WakeSignal& wake) {
  return inner_.sleep_ms_unless(scaled_pause(ms), wake);
}

}  // namespace quibra::platform

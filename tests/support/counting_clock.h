// Test support: a clock that counts the engine's pauses between cycles (500 ms each) and
// otherwise passes everything to the clock it wraps.
#pragma once

#include <atomic>

#include "platform/clock.h"

namespace quibra::testing {

class CountingClock final : public platform::Clock {
 public:
  explicit CountingClock(platform::Clock& inner) : inner_(inner) {}
  std::atomic<int> cycle_pauses{0};
  uint32_t tick_ms() override { return inner_.tick_ms(); }
  uint64_t performance_counter() override { return inner_.performance_counter(); }
  uint64_t performance_frequency() override { return inner_.performance_frequency(); }
  platform::LocalDateTime local_now() override { return inner_.local_now(); }
  void sleep_ms(uint32_t ms) override {
    if (ms == 500) ++cycle_pauses;
    inner_.sleep_ms(ms);
  }

 private:
  platform::Clock& inner_;
};

}  // namespace quibra::testing

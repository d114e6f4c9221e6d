// Test support: a clock that counts the engine's pauses between cycles (500 ms each) and
// otherwise passes everything to the clock it wraps.
#pragma once

#include <atomic>

#include "support/forwarding_clock.h"

namespace quibra::testing {

class CountingClock final : public ForwardingClock {
 public:
  using ForwardingClock::ForwardingClock;
  std::atomic<int> cycle_pauses{0};
  void sleep_ms(uint32_t ms) override {
    if (ms == 500) ++cycle_pauses;
    inner_.sleep_ms(ms);
  }
};

}  // namespace quibra::testing

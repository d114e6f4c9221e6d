// Test support: a clock that stands still until the test moves it. Sleeps move it too.
#pragma once

#include <atomic>

#include "platform/clock.h"

namespace quibra::testing {

class ManualClock final : public platform::Clock {
 public:
  std::atomic<uint32_t> now{1000};
  void advance(uint32_t ms) { now += ms; }
  uint32_t tick_ms() override { return now; }
  uint64_t performance_counter() override { return uint64_t{now} * 1000; }
  uint64_t performance_frequency() override { return 1000000; }
  platform::LocalDateTime local_now() override { return {}; }
  void sleep_ms(uint32_t ms) override { now += ms; }
};

}  // namespace quibra::testing

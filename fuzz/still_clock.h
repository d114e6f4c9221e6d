// The fuzz targets' clock: it stands still until the library sleeps, and a sleep only moves it.
// The library's pauses (answer polls, retries, a recording's pace) then cost nothing, and what
// the library times follows the input, not the fuzzer's speed.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"

namespace quibra::fuzz {

class StillClock final : public platform::Clock {
 public:
  std::atomic<uint32_t> now{1000};
  uint32_t tick_ms() override { return now; }
  uint64_t performance_counter() override { return uint64_t{now} * 1000; }
  uint64_t performance_frequency() override { return 1000000; }
  platform::LocalDateTime local_now() override { return {}; }
  void sleep_ms(uint32_t ms) override { now += ms; }
};

}  // namespace quibra::fuzz

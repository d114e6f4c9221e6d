// Test support: the base of the clock decorators. It passes every call to the clock it wraps;
// a decorator overrides only what it watches or changes.
#pragma once

#include "platform/clock.h"

namespace quibra::testing {

class ForwardingClock : public platform::Clock {
 public:
  explicit ForwardingClock(platform::Clock& inner) : inner_(inner) {}
  uint32_t tick_ms() override { return inner_.tick_ms(); }
  uint64_t performance_counter() override { return inner_.performance_counter(); }
  uint64_t performance_frequency() override { return inner_.performance_frequency(); }
  platform::LocalDateTime local_now() override { return inner_.local_now(); }
  void sleep_ms(uint32_t ms) override { inner_.sleep_ms(ms); }

 protected:
  platform::Clock& inner_;
};

}  // namespace quibra::testing

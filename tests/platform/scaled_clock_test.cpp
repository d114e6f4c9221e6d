#include "platform/scaled_clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace quibra::platform {
namespace {

TEST(ScaledClockTest, ShortensPausesAndStretchesTicks) {
  ScaledClock clock(0.01);
  const uint32_t tick0 = clock.tick_ms();
  const auto start = std::chrono::steady_clock::now();
  clock.sleep_ms(2000);  // 20 ms of real time
  const auto real_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
  EXPECT_LT(real_ms, 1000);
  // The tick count saw the whole pause.
  EXPECT_GE(clock.tick_ms() - tick0, 2000u);
}

TEST(ScaledClockTest, FixedLocalTimeUntilReleased) {
  ScaledClock clock;
  LocalDateTime when;
  when.year = 2026;
  clock.fix_local_time(when);
  EXPECT_EQ(clock.local_now().year, 2026);
  clock.release_local_time();
  const LocalDateTime now = clock.local_now();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
}

}  // namespace
}  // namespace quibra::platform

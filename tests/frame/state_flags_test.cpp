#include <thread>
#include <vector>

#include "frame/state_flags.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using StateFlagsTest = ModuleTest;

TEST_F(StateFlagsTest, RangeIs2000To2023) {
  EXPECT_EQ(frame::GetStateFlag(1999), 0);
  EXPECT_EQ(frame::GetStateFlag(2024), 0);
  EXPECT_EQ(frame::SetStateFlag(2024, 5), 0);
  EXPECT_EQ(frame::SetStateFlag(1999, 5), 0);
  EXPECT_EQ(frame::SetStateFlag(2000, 5), 1);
  EXPECT_EQ(frame::SetStateFlag(2023, -7), 1);
  EXPECT_EQ(frame::GetStateFlag(2000), 5);
  EXPECT_EQ(frame::GetStateFlag(2023), -7);
  for (int32_t flag = 2001; flag < 2023; ++flag)
    EXPECT_EQ(frame::GetStateFlag(flag), 0) << flag;
  frame::ClearStateFlags();
  EXPECT_EQ(frame::GetStateFlag(2000), 0);
  EXPECT_EQ(frame::GetStateFlag(2023), 0);
}

// Threads meet through the flags; each access takes the lock (the thread sanitizer run checks).
TEST_F(StateFlagsTest, ConcurrentWritersAndReaders) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 2000; ++i) {
        frame::SetStateFlag(2000 + t, i);
        (void)frame::GetStateFlag(2000 + (t + 1) % 4);
      }
    });
  }
  for (auto& thread : threads)
    thread.join();
  for (int t = 0; t < 4; ++t)
    EXPECT_EQ(frame::GetStateFlag(2000 + t), 1999);
}

}  // namespace
}  // namespace quibra::testing

// Tests that decode an exercise memory laid out by hand: the positions a test names get its
// bytes, every other position up to the count is 0.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "support/module_fixture.h"

namespace quibra::testing {

class ExerciseMemoryTest : public ModuleTest {
 protected:
  using Bytes = std::map<int32_t, uint8_t>;

  void Load(const Bytes& bytes, int32_t count) {
    auto& memory = m().exercise_memory;
    memory.allocate();
    for (int32_t pos = 1; pos <= count; ++pos) {
      const auto it = bytes.find(pos);
      ASSERT_TRUE(memory.store(pos, it == bytes.end() ? 0 : it->second));
    }
    ASSERT_TRUE(memory.set_count(count));
  }
};

}  // namespace quibra::testing

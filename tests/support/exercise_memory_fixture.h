// Tests that decode an exercise memory laid out by hand: the positions a test names get its
// bytes, every other position up to the count is 0.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "support/exercise_image.h"
#include "support/module_fixture.h"

namespace quibra::testing {

class ExerciseMemoryTest : public ModuleTest {
 protected:
  using Bytes = std::map<int32_t, uint8_t>;

  void Load(const Bytes& bytes, int32_t count) {
    std::vector<uint8_t> image(static_cast<size_t>(count), 0);
    for (const auto& [pos, byte] : bytes) {
      if (pos >= 1 && pos <= count) image[static_cast<size_t>(pos - 1)] = byte;
    }
    ASSERT_TRUE(LoadExerciseImage(image));
  }
};

}  // namespace quibra::testing

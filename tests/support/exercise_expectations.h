// Checks of a decoded exercise through the getter exports, many values at a time.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>

#include "quibra/quibra.h"

namespace quibra::testing {

using IdValue = std::array<int32_t, 2>;

// Each pair: parameter id, expected value.
inline void ExpectParams(std::initializer_list<IdValue> expected) {
  for (const auto& [id, value] : expected)
    EXPECT_EQ(fnQuibra_GetRecParam(id), value) << "parameter " << id;
}

// Each pair: flag id, expected value.
inline void ExpectFlags(std::initializer_list<IdValue> expected) {
  for (const auto& [id, value] : expected)
    EXPECT_EQ(fnQuibra_GetRecFlags(id), value) << "flag " << id;
}

// Each pair: lap field id, expected value.
inline void ExpectLap(int32_t lap, std::initializer_list<IdValue> expected) {
  for (const auto& [field, value] : expected)
    EXPECT_EQ(fnQuibra_GetIntTimeData(lap, field), value) << "lap " << lap << " field " << field;
}

}  // namespace quibra::testing

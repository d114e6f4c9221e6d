#include "recoding.h"

#include <gtest/gtest.h>

#include "sim_bytes.h"

namespace quibra::sim {
namespace {

TEST(Recoding, UnitUndoesTheAdapter) {
  // The 9002 request as the adapter puts it on the line, read back by the unit.
  const testing::Bytes plain = {0xA3, 0x02, 0x00, 0x00, 0x05, 0x9B, 0x95};
  const testing::Bytes wire = {0x34, 0xAB, 0x55, 0x55, 0x56, 0xDC, 0x26};
  for (size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(Unrecode(wire[i]), plain[i]) << i;
  }
}

}  // namespace
}  // namespace quibra::sim

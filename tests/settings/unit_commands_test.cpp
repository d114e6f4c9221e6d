// Unit commands and the service values in memory blocks, against a scripted unit.
#include <gtest/gtest.h>

#include "frame/module.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/scripted_unit_test.h"

namespace quibra::testing {
namespace {

using UnitCommandsTest = ScriptedUnitTest;

TEST_F(UnitCommandsTest, CommandsGoOutOverInfrared) {
  CommParams p = LinkParams(1);
  EXPECT_EQ(fnQuibra_SendMonitorToWatchMode(&p), 1);
  EXPECT_EQ(fnQuibra_SendFactoryDefaultCommand(&p), 1);
  EXPECT_EQ(fnQuibra_SetMonitorToSleepMode(&p), 1);
  EXPECT_EQ(fnQuibra_RestoreEepromMemory(&p), 1);
  EXPECT_EQ(fnQuibra_SetDisplayOff(&p), 1);
  EXPECT_EQ(unit_.sent, (std::vector<std::pair<int32_t, int32_t>>{
                            {9010, 0}, {9009, 0}, {9038, 0}, {9088, 0}, {9105, 0}}));
  EXPECT_EQ(fnQuibra_SetDisplayOff(nullptr), 0);
}

TEST_F(UnitCommandsTest, CommandsWithoutASoundFormAreSkippedOnTheSoundLink) {
  CommParams p = LinkParams(0);
  EXPECT_EQ(fnQuibra_RestoreEepromMemory(&p), 1);
  EXPECT_EQ(fnQuibra_SetDisplayOff(&p), 1);
  EXPECT_TRUE(unit_.sent.empty());
}

// The calories go as BCD, the identification number as plain bytes (the simulated unit's tests
// read both from its memory); values the blocks cannot hold send nothing.
TEST_F(UnitCommandsTest, CaloriesAndIdentificationNumber) {
  EXPECT_EQ(fnQuibra_WriteTotalCalories(123456), 1);
  ASSERT_EQ(unit_.sent.back(), std::make_pair(9007, 32));
  EXPECT_EQ(std::vector<uint8_t>(unit_.blocks[32].begin(), unit_.blocks[32].begin() + 3),
            (std::vector<uint8_t>{0x56, 0x34, 0x12}));
  EXPECT_EQ(module().unit.type.load(), 11);  // the block layouts of the oldest units
  const size_t sends = unit_.sent.size();
  EXPECT_EQ(fnQuibra_WriteTotalCalories(1000000), 0);
  EXPECT_EQ(fnQuibra_WriteTotalCalories(-1), 0);
  EXPECT_EQ(fnQuibra_WriteIDNumber(16777216), 0);
  EXPECT_EQ(unit_.sent.size(), sends);
  EXPECT_EQ(fnQuibra_WriteIDNumber(0x123456), 1);
  EXPECT_EQ(fnQuibra_ReadIDNumber(), 0x123456);
}

TEST_F(UnitCommandsTest, FailedReadsGiveZero) {
  EXPECT_EQ(fnQuibra_WriteIDNumber(77), 1);
  unit_.answers = false;
  EXPECT_EQ(fnQuibra_ReadIDNumber(), 0);
}

}  // namespace
}  // namespace quibra::testing

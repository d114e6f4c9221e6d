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

TEST_F(UnitCommandsTest, CaloriesTravelAsBcdAndComeBack) {
  EXPECT_EQ(fnQuibra_WriteTotalCalories(123456), 1);
  ASSERT_EQ(unit_.sent.back(), std::make_pair(9007, 32));
  EXPECT_EQ(unit_.blocks[32][0], 0x56);
  EXPECT_EQ(unit_.blocks[32][1], 0x34);
  EXPECT_EQ(unit_.blocks[32][2], 0x12);
  EXPECT_EQ(module().unit.type.load(), 11);  // the block layouts of the oldest units
  EXPECT_EQ(fnQuibra_ReadTotalCalories(), 123456);
  EXPECT_EQ(unit_.sent.back(), std::make_pair(9008, 32));

  const size_t sends = unit_.sent.size();
  EXPECT_EQ(fnQuibra_WriteTotalCalories(1000000), 0);
  EXPECT_EQ(fnQuibra_WriteTotalCalories(-1), 0);
  EXPECT_EQ(unit_.sent.size(), sends);
}

TEST_F(UnitCommandsTest, IdentificationNumberTravelsAsBytes) {
  EXPECT_EQ(fnQuibra_WriteIDNumber(0x123456), 1);
  EXPECT_EQ(unit_.sent.back(), std::make_pair(9007, 31));
  EXPECT_EQ(unit_.blocks[31][0], 0x56);
  EXPECT_EQ(unit_.blocks[31][1], 0x34);
  EXPECT_EQ(unit_.blocks[31][2], 0x12);
  EXPECT_EQ(fnQuibra_ReadIDNumber(), 0x123456);
  EXPECT_EQ(fnQuibra_WriteIDNumber(16777216), 0);
}

TEST_F(UnitCommandsTest, FailedReadsGiveZero) {
  EXPECT_EQ(fnQuibra_WriteIDNumber(77), 1);
  unit_.answers = false;
  EXPECT_EQ(fnQuibra_ReadIDNumber(), 0);
}

}  // namespace
}  // namespace quibra::testing

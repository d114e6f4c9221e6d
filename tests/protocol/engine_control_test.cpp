#include "protocol/engine_control.h"

#include <gtest/gtest.h>

#include "frame/state_flags.h"
#include "protocol/engine.h"
#include "support/module_fixture.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;

class EngineControlTest : public testing::ModuleTest {};

// The options whose effect no other test shows; every reset sets the flags anew.
TEST_F(EngineControlTest, OptionBitsSetTheirFlags) {
  ASSERT_EQ(ResetIRCommunication(0x04 | 0x80), 1);
  EXPECT_EQ(GetStateFlag(frame::kFlagMissedBeatCorrection), 1);
  EXPECT_EQ(GetStateFlag(frame::kFlagOnlineMode), 1);
  ASSERT_EQ(ResetIRCommunication(0x01), 1);
  EXPECT_EQ(GetStateFlag(frame::kFlagMissedBeatCorrection), 0);
  EXPECT_EQ(GetStateFlag(frame::kFlagOnlineMode), 0);
}

TEST_F(EngineControlTest, LinksThatAreNotServedHereDoNotStart) {
  EXPECT_EQ(StartIRCommunication(0x20, nullptr), 0);
  EXPECT_EQ(StartIRCommunication(0x80 | 0x01, "/dev/null"), 0);
  EXPECT_EQ(GetStateFlag(frame::kFlagEngineRunning), 0);
}

TEST_F(EngineControlTest, ProgressIsRoundedAndCountersAreRead) {
  Engine& e = m().engine;
  e.counters[kCounterProgressTotal] = 3;
  e.counters[kCounterProgressDone] = 1;
  EXPECT_EQ(GetComProgress(), 33);
  e.counters[kCounterProgressDone] = 2;
  EXPECT_EQ(GetComProgress(), 67);
  EXPECT_EQ(GetSCErrorData(100), 2);
  EXPECT_EQ(GetSCErrorData(101), 3);
  e.counters[kCounterProgressTotal] = 0;
  EXPECT_EQ(GetComProgress(), 0);

  e.errors[kChecksumFailures] = 4;
  e.errors[kNoAnswer] = 2;
  EXPECT_EQ(GetSCErrorData(1), 4);
  EXPECT_EQ(GetSCErrorData(3), 2);
  EXPECT_EQ(GetSCErrorData(4), -1);
  EXPECT_EQ(GetSCErrorData(-1), -1);
  EXPECT_EQ(ResetSCErrorCTRs(), 1);
  EXPECT_EQ(GetSCErrorData(1), 0);
  EXPECT_EQ(GetSCErrorData(3), 0);
}

TEST_F(EngineControlTest, OnlyMessagesOfTheCatalogueAreQueued) {
  frame::SetStateFlag(frame::kFlagEngineRunning, 1);  // as the start call leaves it
  for (const int32_t id : {INT32_MIN, -1, 0, 8002, 9036, 9109, 9999, INT32_MAX}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(SendIRComMessage(id, 1), 0);
    EXPECT_EQ(GetStateFlag(frame::kFlagSendPending), 0);
  }
  for (const int32_t id : {9000, 9021, 8004}) {
    EXPECT_EQ(SendIRComMessage(id, 1), 1);
    EXPECT_EQ(m().engine.message.load(), id == 8004 ? 9001 : id);
  }
  frame::SetStateFlag(frame::kFlagEngineRunning, 0);
}

TEST_F(EngineControlTest, QueueingABatchOrAFileDownload) {
  EXPECT_EQ(QueueMessage(8004, 0, 1), 1);
  EXPECT_EQ(GetCollectiveStatus(), 60);
  EXPECT_EQ(GetStateFlag(frame::kFlagSendPending), 1);
  // Ids outside the catalogue are not queued, and end the batch.
  EXPECT_EQ(QueueMessage(8002, 0, 1), 0);
  EXPECT_FALSE(m().engine.batch_active.load());
  // A file download starts on a fresh buffer.
  m().exercise_memory.store(1, 9);
  m().exercise_memory.set_count(1);
  EXPECT_EQ(QueueMessage(9025, 0, 1), 1);
  EXPECT_EQ(m().exercise_memory.count(), 0);
}

}  // namespace
}  // namespace quibra::protocol

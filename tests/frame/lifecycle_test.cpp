// Loading, reloading and unloading, as applications and tests do it.
#include <gtest/gtest.h>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "quibra/quibra.h"
#include "support/pty_pair.h"

namespace quibra::testing {
namespace {

TEST(Lifecycle, LoadGivesAFreshModule) {
  frame::LoadModule(0x1234);
  Module& first = module();
  EXPECT_EQ(first.instance_handle, 0x1234u);
  EXPECT_EQ(first.exercise_memory.capacity(), 100);
  EXPECT_EQ(first.exercise_memory.count(), 0);
  EXPECT_STREQ(first.texts.get(6), "Infrared Connection");
  first.last_error = 2;
  first.exercise_memory.store(1, 9);
  first.exercise_memory.set_count(1);

  // An application's reset while the communication thread runs: the thread ends with its
  // Module, and the fresh one keeps the module handle.
  PtyPair line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(fnQuibra_StartIRCommunication(0, line.slave_name().c_str()), 1);
  EXPECT_EQ(fnQuibraExt_ResetLibrary(), 1);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 20);  // no engine runs
  EXPECT_EQ(module().instance_handle, 0x1234u);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 0);
  EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), 0);
  EXPECT_EQ(fnKx2GetMemtrData(1), 0);
  frame::UnloadModule();
  EXPECT_FALSE(frame::IsModuleLoaded());
  frame::UnloadModule();  // a second unload is harmless
}

TEST(Lifecycle, ACallBeforeAnyLoadLoadsOnFirstUse) {
  frame::UnloadModule();
  EXPECT_EQ(fnQuibra_SetComText(1, "Again"), 1);
  EXPECT_TRUE(frame::IsModuleLoaded());
  EXPECT_STREQ(module().texts.get(0), "Cancel");
  frame::UnloadModule();
}

}  // namespace
}  // namespace quibra::testing

// Loading, reloading and unloading, as the shared object, applications and tests do it.
#include <dlfcn.h>

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

// The shared object loads its Module from its own load hook and exports the C names.
TEST(Lifecycle, SharedObjectIsReadyWhenLoaded) {
  void* library = dlopen(QUIBRA_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  using Version = int32_t (*)();
  using Name = const char* (*)(int32_t, int32_t);
  using Count = int32_t (*)();
  auto version = reinterpret_cast<Version>(dlsym(library, "fnQuibra_GetLibraryVersion"));
  auto name = reinterpret_cast<Name>(dlsym(library, "fnQuibra_GetOrvekHRMonitorName"));
  auto count = reinterpret_cast<Count>(dlsym(library, "fnKx2GetNbrOfMemtrBytes"));
  ASSERT_NE(version, nullptr);
  ASSERT_NE(name, nullptr);
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(version(), 172);
  EXPECT_STREQ(name(37, 0), "Orvek PR9");
  EXPECT_EQ(count(), 0);
  // Internal C++ names stay hidden.
  EXPECT_EQ(dlsym(library, "_ZN6quibra6moduleEv"), nullptr);
  dlclose(library);
}

}  // namespace
}  // namespace quibra::testing

// Unloading gives back everything the library took: after a conversation with a unit over a
// pty, no descriptor it opened is left open and no thread it started is left running, and the
// next Module starts from nothing.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "frame/lifecycle.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "support/comm_params.h"
#include "unit.h"

namespace quibra::testing {
namespace {

namespace fs = std::filesystem;

// Descriptor number to what it is open on (the listing's own directory left out).
std::map<int, std::string> OpenDescriptors() {
  std::map<int, std::string> open;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const fs::path target = fs::read_symlink(entry.path(), error);
    if (error || target.string().starts_with("/proc/")) continue;
    open[std::stoi(entry.path().filename().string())] = target.string();
  }
  return open;
}

size_t RunningThreads() {
  size_t count = 0;
  for ([[maybe_unused]] const fs::directory_entry& task : fs::directory_iterator("/proc/self/task"))
    ++count;
  return count;
}

// A joined thread may still be listed for a moment while the system reaps it.
size_t ThreadsOnceSettled(size_t expected) {
  size_t now = RunningThreads();
  for (int wait = 0; wait < 100 && now != expected; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    now = RunningThreads();
  }
  return now;
}

TEST(UnloadReleases, DescriptorsAndThreadsAfterAConversation) {
  frame::UnloadModule();  // from no Module at all
  platform::ScaledClock clock(0.02);
  platform::set_clock(&clock);
  sim::Unit unit(22, 3, 19);
  sim::SerialLink line(unit, false, std::chrono::milliseconds(20));
  const std::string path = line.start();
  ASSERT_FALSE(path.empty());

  const std::map<int, std::string> descriptors = OpenDescriptors();
  const size_t threads = RunningThreads();
  // Twice: what the first Module left behind would show in the second's conversation.
  for (int cycle = 0; cycle < 2; ++cycle) {
    SCOPED_TRACE(cycle);
    frame::LoadModule();
    ASSERT_EQ(fnQuibra_StartIRCommunication(0, path.c_str()), 1);
    CommParams params = LinkParams();
    MonitorInfo info{};
    EXPECT_EQ(fnQuibra_ReadMonitorInfo(&params, &info), 1);
    EXPECT_EQ(info.MonitorInUse, 22);
    // The conversation is not ended: unloading alone must let go of the port.
    EXPECT_GT(OpenDescriptors().size(), descriptors.size());  // the port is open
    EXPECT_GT(RunningThreads(), threads);                     // and the engine runs
    frame::UnloadModule();

    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(ThreadsOnceSettled(threads), threads);
  }
  line.stop();
  platform::set_clock(nullptr);
}

bool SharedLibraryMapped() {
  const std::string name = fs::path(QUIBRA_SHARED_LIBRARY).filename().string();
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    if (line.ends_with("/" + name)) return true;
  }
  return false;
}

// An application that unloads the library gets it unmapped (nothing in it pins it in memory), and
// one that loads it again starts from a fresh state.
TEST(UnloadReleases, SharedLibraryIsUnmappedAndReloadsFresh) {
  using ErrorCode = int32_t (*)();
  using ReadDump = int32_t (*)(const char*, int32_t);
  ASSERT_FALSE(SharedLibraryMapped());
  void* library = dlopen(QUIBRA_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_TRUE(SharedLibraryMapped());
  auto read_dump = reinterpret_cast<ReadDump>(dlsym(library, "fnQuibra_ReadBinaryMemoryFile"));
  auto error_code = reinterpret_cast<ErrorCode>(dlsym(library, "fnQuibra_GetErrorCode"));
  ASSERT_NE(read_dump, nullptr);
  ASSERT_NE(error_code, nullptr);
  EXPECT_EQ(read_dump("/nonexistent/quibra-unload-test.txt", 0), 0);
  EXPECT_EQ(error_code(), 2);
  ASSERT_EQ(dlclose(library), 0);
  EXPECT_FALSE(SharedLibraryMapped());

  library = dlopen(QUIBRA_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  error_code = reinterpret_cast<ErrorCode>(dlsym(library, "fnQuibra_GetErrorCode"));
  ASSERT_NE(error_code, nullptr);
  EXPECT_EQ(error_code(), 0);
  EXPECT_EQ(dlclose(library), 0);
}

}  // namespace
}  // namespace quibra::testing

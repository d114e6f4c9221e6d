// Records of an older, shorter layout: every record export keeps to the caller's Size, and a Size
// that cannot describe a record is refused with nothing written.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <vector>

#include "frame/comm_params.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

// One record type's exports, on raw caller memory.
struct RecordExports {
  const char* name;
  size_t layout;
  std::function<bool(void*)> reset;  // true when the record pointer came back
  std::function<int32_t(void*)> prepare;
  std::function<int32_t(void*)> unpack;
};

template <typename R>
R* As(void* p) {
  return static_cast<R*>(p);
}

const std::vector<RecordExports>& Exports() {
  static const std::vector<RecordExports> table = {
      {"UserSettings", sizeof(UserSettings),
       [](void* p) { return fnQuibra_ResetUserSettings(As<UserSettings>(p)) != nullptr; },
       [](void* p) { return fnQuibra_PrepareUserSettings(As<UserSettings>(p), 0, 0); },
       [](void* p) { return fnQuibra_UnPackUserSettings(0, As<UserSettings>(p)); }},
      {"WatchSettings", sizeof(WatchSettings),
       [](void* p) { return fnQuibra_ResetWatchSettings(As<WatchSettings>(p)) != nullptr; },
       [](void* p) { return fnQuibra_PrepareWatchSettings(As<WatchSettings>(p)); },
       [](void* p) { return fnQuibra_UnPackWatchSettings(As<WatchSettings>(p)); }},
      {"ExerciseProfile", sizeof(ExerciseProfile),
       [](void* p) {
         return fnQuibra_ResetExerciseProfile(2, As<ExerciseProfile>(p), 0) != nullptr;
       },
       [](void* p) { return fnQuibra_PrepareExerciseProfile(As<ExerciseProfile>(p), 0, 0); },
       [](void* p) { return fnQuibra_UnPackExerciseProfile(2, As<ExerciseProfile>(p)); }},
      {"ExerciseLimits", sizeof(ExerciseLimits),
       [](void* p) { return fnQuibra_ResetExerciseLimits(As<ExerciseLimits>(p)) != nullptr; },
       [](void* p) { return fnQuibra_PrepareExerciseLimits(As<ExerciseLimits>(p)); },
       [](void* p) { return fnQuibra_UnPackExerciseLimits(As<ExerciseLimits>(p)); }},
      {"ExerciseSet", sizeof(ExerciseSet),
       [](void* p) { return fnQuibra_ResetExerciseSet(2, As<ExerciseSet>(p), 0, 22) != nullptr; },
       [](void* p) { return fnQuibra_PrepareExerciseSet(As<ExerciseSet>(p), 0, 0, 1); },
       [](void* p) { return fnQuibra_UnPackExerciseSet(2, As<ExerciseSet>(p), 1); }},
      {"BikeSettings", sizeof(BikeSettings),
       [](void* p) { return fnQuibra_ResetBikeSettings(As<BikeSettings>(p)) != nullptr; },
       [](void* p) { return fnQuibra_PrepareBikeSettings(As<BikeSettings>(p)); },
       [](void* p) { return fnQuibra_UnPackBikeSettings(As<BikeSettings>(p)); }},
  };
  return table;
}

constexpr uint8_t kCanary = 0xAB;

// Caller memory of the full layout, the record's Size set and every other byte the canary.
std::vector<uint8_t> CallerMemory(size_t layout, int32_t size) {
  std::vector<uint8_t> memory(layout, kCanary);
  std::memcpy(memory.data(), &size, sizeof size);
  return memory;
}

int32_t SizeOf(const std::vector<uint8_t>& memory) {
  int32_t size = 0;
  std::memcpy(&size, memory.data(), sizeof size);
  return size;
}

size_t CanariesFrom(const std::vector<uint8_t>& memory, size_t from) {
  size_t count = 0;
  for (size_t i = from; i < memory.size(); ++i)
    count += memory[i] == kCanary ? 1 : 0;
  return count;
}

class CallerRecordTest : public ModuleTest {};

TEST_F(CallerRecordTest, ShorterRecordsAreTouchedOnlyUpToTheirSize) {
  constexpr int32_t kShort = 8;  // Size and the first field: the shortest layout there could be
  for (const RecordExports& e : Exports()) {
    SCOPED_TRACE(e.name);
    std::vector<uint8_t> memory = CallerMemory(e.layout, kShort);
    const size_t tail = e.layout - kShort;
    ASSERT_TRUE(e.reset(memory.data()));
    EXPECT_EQ(SizeOf(memory), kShort);
    EXPECT_NE(memory[4], kCanary);  // the first field took its default
    EXPECT_EQ(CanariesFrom(memory, kShort), tail);
    // What Reset left is valid: Prepare accepts it with the rest of the fields at defaults.
    EXPECT_EQ(e.prepare(memory.data()), 1);
    EXPECT_EQ(e.unpack(memory.data()), 1);
    EXPECT_EQ(SizeOf(memory), kShort);
    EXPECT_EQ(CanariesFrom(memory, kShort), tail);
  }
}

TEST_F(CallerRecordTest, SizesThatCannotDescribeARecordAreRefused) {
  for (const RecordExports& e : Exports()) {
    for (const int32_t size : {-1, 1, 3, INT_MIN}) {
      SCOPED_TRACE(::testing::Message() << e.name << " " << size);
      std::vector<uint8_t> memory = CallerMemory(e.layout, size);
      frame::SetErrorCode(0);
      EXPECT_FALSE(e.reset(memory.data()));
      EXPECT_EQ(e.prepare(memory.data()), 0);
      EXPECT_EQ(e.unpack(memory.data()), 0);
      EXPECT_EQ(fnQuibra_GetErrorCode(), frame::kErrorBadArgument);
      EXPECT_EQ(memory, CallerMemory(e.layout, size));
    }
    // Size 0 is the full layout, filled in by Reset.
    std::vector<uint8_t> memory = CallerMemory(e.layout, 0);
    ASSERT_TRUE(e.reset(memory.data()));
    EXPECT_EQ(SizeOf(memory), static_cast<int32_t>(e.layout));
  }
}

// CommParams is bounded by its Size but never refused for it: a read repairs LinkType within
// the caller's bytes and fails with no link; a Size of 1..3 covers the size field alone.
TEST_F(CallerRecordTest, CommParamsKeepToTheirSizeAndAreNeverRefused) {
  const auto read = [](std::vector<uint8_t>& memory) {
    UserSettings record{};
    frame::SetErrorCode(0);
    return fnQuibra_ReadUserSettings(reinterpret_cast<CommParams*>(memory.data()), &record);
  };
  std::vector<uint8_t> memory = CallerMemory(sizeof(CommParams), 8);
  EXPECT_EQ(read(memory), 0);
  uint32_t link_type = 0;
  std::memcpy(&link_type, memory.data() + 4, sizeof link_type);
  EXPECT_EQ(link_type, 1u);
  EXPECT_EQ(SizeOf(memory), 8);
  EXPECT_EQ(CanariesFrom(memory, 8), sizeof(CommParams) - 8);
  for (const int32_t size : {1, 3}) {
    memory = CallerMemory(sizeof(CommParams), size);
    read(memory);
    EXPECT_NE(fnQuibra_GetErrorCode(), frame::kErrorBadArgument);
    EXPECT_EQ(SizeOf(memory), size);
    EXPECT_EQ(CanariesFrom(memory, 4), sizeof(CommParams) - 4);
  }
  memory = CallerMemory(sizeof(CommParams), 0);
  read(memory);
  EXPECT_EQ(SizeOf(memory), static_cast<int32_t>(sizeof(CommParams)));
}

// The output-only records are filled whole whatever their Size says: the caller need not set it.
TEST_F(CallerRecordTest, OutputRecordsAreFilledWholeWhateverTheirSize) {
  const std::pair<size_t, std::function<int32_t(void*)>> records[] = {
      {sizeof(MonitorInfo),
       [](void* p) { return fnQuibra_UnPackMonitorInfo(static_cast<MonitorInfo*>(p)); }},
      {sizeof(ExeFileInfo),
       [](void* p) { return fnQuibra_GetExeFileInfo(0, static_cast<ExeFileInfo*>(p)); }},
  };
  for (const auto& [layout, call] : records) {
    for (const int32_t size : {8, -1, 0}) {
      SCOPED_TRACE(::testing::Message() << layout << " " << size);
      std::vector<uint8_t> memory = CallerMemory(layout, size);
      call(memory.data());
      EXPECT_EQ(SizeOf(memory), static_cast<int32_t>(layout));
      EXPECT_EQ(CanariesFrom(memory, 4), 0u);
    }
  }
}

}  // namespace
}  // namespace quibra::testing

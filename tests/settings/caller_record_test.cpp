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

// The records that are not settings, each with an export that reads and writes its first field
// (CommParams: a read repairs LinkType, and fails with no link; MonitorInfo: the unpack of no
// identification sets MonitorInUse to -1; ExeFileInfo: the listing clears the record).
struct OtherRecord {
  const char* name;
  size_t layout;
  std::function<int32_t(void*)> call;
  uint32_t first_field;
};

TEST_F(CallerRecordTest, TheOtherRecordsKeepToTheirSizeToo) {
  const OtherRecord records[] = {
      {"CommParams", sizeof(CommParams),
       [](void* p) {
         UserSettings record{};
         return fnQuibra_ReadUserSettings(As<CommParams>(p), &record);
       },
       1},
      {"MonitorInfo", sizeof(MonitorInfo),
       [](void* p) { return fnQuibra_UnPackMonitorInfo(As<MonitorInfo>(p)); }, 0xFFFFFFFF},
      {"ExeFileInfo", sizeof(ExeFileInfo),
       [](void* p) { return fnQuibra_GetExeFileInfo(0, As<ExeFileInfo>(p)); }, 0},
  };
  for (const OtherRecord& r : records) {
    SCOPED_TRACE(r.name);
    std::vector<uint8_t> memory = CallerMemory(r.layout, 8);
    EXPECT_EQ(r.call(memory.data()), 0);
    uint32_t first = 0;
    std::memcpy(&first, memory.data() + 4, sizeof first);
    EXPECT_EQ(first, r.first_field);
    EXPECT_EQ(SizeOf(memory), 8);
    EXPECT_EQ(CanariesFrom(memory, 8), r.layout - 8);
    // Sizes that cannot be are refused as the export sweep checks for every record.
    memory = CallerMemory(r.layout, 0);
    r.call(memory.data());
    EXPECT_EQ(SizeOf(memory), static_cast<int32_t>(r.layout));
  }
}

}  // namespace
}  // namespace quibra::testing

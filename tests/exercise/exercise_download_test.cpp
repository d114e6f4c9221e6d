// The exercise download exports against the simulated unit on a pty: whole memory, listen-only
// transfers, single files, and trains that go wrong.
#include "exercise/exercise_download.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "quibra/quibra.h"
#include "support/sim_unit_fixture.h"

namespace quibra::exercise {
namespace {

using Bytes = std::vector<uint8_t>;

// An exercise memory as a unit sends it: size, product code 19 (type 22) at position 3,
// version 3 at position 4, then n - 4 bytes of pattern.
Bytes Memory(size_t n) {
  Bytes image(n);
  for (size_t i = 0; i < n; ++i)
    image[i] = static_cast<uint8_t>(i * 13 + 1);
  image[0] = static_cast<uint8_t>(n >> 8);
  image[1] = static_cast<uint8_t>(n & 0xFF);
  image[2] = 19;
  image[3] = 3;
  return image;
}

Bytes Downloaded() {
  Bytes out;
  for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
    out.push_back(static_cast<uint8_t>(fnKx2GetMemtrData(p)));
  return out;
}

std::optional<exercise::UserValues> UserValue77() {
  return exercise::UserValues{77, 68};
}

class ExerciseDownload : public quibra::testing::SimUnitTest {
 protected:
  ExerciseDownload() : SimUnitTest(22, 3) {}

  // The request ids the unit received, waiting for up to `expected` of them: a request may
  // still be on the line when the export returns.
  std::vector<int32_t> request_ids(size_t expected = 0) {
    for (int i = 0; i < 500 && unit_.requests().size() < expected; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::vector<int32_t> ids;
    for (const auto& r : unit_.requests())
      ids.push_back(r.id);
    return ids;
  }
};

TEST_F(ExerciseDownload, SilentDownloadFetchesTheMemoryAndNamesTheUnit) {
  const Bytes image = Memory(2 * sim::Unit::kPacketData + 500);
  ASSERT_TRUE(unit_.set_exercise_memory(image));
  m().analysis.max_heart_rate = 150;
  m().analysis.user_value_reader = &UserValue77;
  open();
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 0), 1);
  EXPECT_EQ(Downloaded(), image);
  EXPECT_EQ(m().unit.type.load(), 22);
  EXPECT_EQ(m().unit.variant.load(), 3);
  EXPECT_EQ(m().analysis.unit_version.load(), 3);
  EXPECT_EQ(m().analysis.max_heart_rate.load(), 0);
  EXPECT_EQ(m().analysis.user_value.load(), 77);
  EXPECT_EQ(m().analysis.user_weight.load(), 68);
  EXPECT_EQ(request_ids(4), (std::vector<int32_t>{9011, 9022, 9022, 9022}));
}

TEST_F(ExerciseDownload, NoLinkAndNoUnit) {
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 0), 2);
  unit_.queue_fault(sim::Fault::Silence());
  open();
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 0), 3);
  EXPECT_EQ(request_ids().size(), 5u);  // the request's five tries
}

TEST_F(ExerciseDownload, LostAndRepeatedPacketsStillGiveTheWholeMemory) {
  const Bytes image = Memory(3 * sim::Unit::kPacketData + 1);
  ASSERT_TRUE(unit_.set_exercise_memory(image));
  unit_.queue_fault(sim::Fault::InTrain(sim::FaultKind::RepeatPacket, 0));
  unit_.queue_fault(sim::Fault::InTrain(sim::FaultKind::DropPacket, 2));
  open();
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 0), 1);
  EXPECT_EQ(Downloaded(), image);
  // The repeat is acknowledged like any packet; the lost one is asked for with 9023. The last
  // packet is acknowledged before the download reports completion, so the user-settings read
  // that follows a type-22 download cannot take the acknowledgement's place.
  EXPECT_EQ(request_ids(8), (std::vector<int32_t>{9011, 9022, 9022, 9022, 9023, 9022, 9022, 9006}));
}

TEST_F(ExerciseDownload, TheDecodersTakeTheMaximumHeartRateTheUnitKeeps) {
  Bytes image = Memory(100);
  image[3] = 1;  // variant 1: its user settings are read as they stand
  ASSERT_TRUE(unit_.set_exercise_memory(image));
  // The unit's user settings answer: the maximum heart rate is read image byte 15, the tenth
  // byte after the answer's header.
  Bytes user(unit_.image(9006, 0).size());
  ASSERT_GT(user.size(), 9u);
  user[9] = 187;
  ASSERT_TRUE(unit_.set_image(9006, 0, user));
  open();
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 0), 1);
  EXPECT_EQ(m().analysis.user_value.load(), 187);
  // The read follows the last acknowledgement (a busy machine may cost the request a retry).
  const auto ids = request_ids(3);
  ASSERT_GE(ids.size(), 3u);
  EXPECT_EQ(std::vector<int32_t>(ids.end() - 2, ids.end()), (std::vector<int32_t>{9022, 9006}));
}

TEST_F(ExerciseDownload, UnitFallingSilentMidTrainLeavesNothingToDecode) {
  ASSERT_TRUE(unit_.set_exercise_memory(Memory(3 * sim::Unit::kPacketData)));
  unit_.queue_fault(sim::Fault::InTrain(sim::FaultKind::FallSilent, 2));
  open();
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 0), 3);
  EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 30);
  EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), 0);
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 0);
}

TEST_F(ExerciseDownload, ListenOnlyTransferTakesWhatTheUnitSends) {
  const Bytes image = Memory(sim::Unit::kPacketData + 10);
  ASSERT_TRUE(unit_.set_exercise_memory(image));
  m().analysis.user_value_reader = &UserValue77;
  open();
  std::thread user([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    unit_.start_listen_transfer();
  });
  EXPECT_EQ(fnQuibra_ReadExercisesData(0, 1), 1);
  user.join();
  EXPECT_EQ(Downloaded(), image);
  EXPECT_TRUE(unit_.requests().empty());
  EXPECT_EQ(m().analysis.user_value.load(), 0);  // no user settings read after listening
}

// ---- single files ---------------------------------------------------------------------------

// A file of a type-37 unit: product code at 3, version at 5, its header from position 6.
Bytes RunFile() {
  Bytes f(60, 0);
  f[2] = 173;
  f[4] = 0x20;
  // From 5: "RUN" and blanks; at 15 a 16-bit value, low byte first; at 18 altitude, cadence and
  // speed (the power bit, which type 37 ignores, clear); at 19 interval code 1 = 5 s and bit 2,
  // the R-R flag of types 35 and 37; at 21 and 22 the packed date (B: month 3 in its low bits
  // 011, day 15; A: year 2024, month high bit 0); at 23 the start 09:15:30 as BCD seconds,
  // minutes, hours; at 26 the duration 1 h 30 min 45 s, binary seconds, minutes, hours.
  const uint8_t header[] = {28, 31,   24,   10, 10,  10, 10,   10,   10,   10, 0x34, 0x12,
                            0,  0x0B, 0x05, 0,  111, 48, 0x30, 0x15, 0x09, 45, 30,   1};
  std::copy(std::begin(header), std::end(header), f.begin() + 5);
  return f;
}

TEST_F(ExerciseDownload, FileListingReadsTheFirstFiftyBytes) {
  Bytes ride = RunFile();
  ride[2] = 174;    // type 38
  ride[18] = 0;     // no sensors
  ride[19] = 0x0A;  // interval code 2 = 5 s, bit 3 = R-R: becomes 238
  unit_.set_exercise_files({Bytes(60, 1), RunFile(), ride});
  open();
  ExeFileInfo info{};
  ASSERT_EQ(fnQuibra_GetExeFileInfoEx(0, 1, &info), 1);
  EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), 50);
  EXPECT_EQ(m().unit.type.load(), 37);
  EXPECT_EQ(m().unit.variant.load(), 0x20);
  EXPECT_EQ(info.Size, 76u);
  EXPECT_STREQ(info.Name, "RUN");
  EXPECT_EQ(info.HeaderValue, 0x1234);
  EXPECT_EQ(info.StartDate, 20240315);
  EXPECT_EQ(info.StartTime, 9 * 3600 + 15 * 60 + 30);
  EXPECT_EQ(info.Duration, 3600 + 30 * 60 + 45);
  EXPECT_EQ(info.Altitude, 1);
  EXPECT_EQ(info.Cadence, 1);
  EXPECT_EQ(info.Speed, 1);
  EXPECT_EQ(info.Power, 0);
  EXPECT_EQ(info.RRFlag, 1);
  EXPECT_EQ(info.Interval, 5);
  const auto first = unit_.requests().front();
  EXPECT_EQ(first.id, 9106);
  EXPECT_EQ(first.payload, (Bytes{1, 0, 50, 0xFF, 0xFF}));

  ASSERT_EQ(fnQuibra_GetExeFileInfoEx(0, 2, &info), 1);
  EXPECT_EQ(m().unit.type.load(), 38);
  EXPECT_EQ(info.Interval, 238);
  EXPECT_EQ(info.RRFlag, 1);
  EXPECT_EQ(fnQuibra_GetExeFileInfoEx(0, 7, &info), 0);  // no such file: the unit stays silent
  EXPECT_EQ(info.Size, 76u);
}

TEST_F(ExerciseDownload, WholeFilesAskForEachPacket) {
  Bytes big(2 * sim::Unit::kPacketData + 7);
  for (size_t i = 0; i < big.size(); ++i)
    big[i] = static_cast<uint8_t>(i ^ 0x5A);
  unit_.set_exercise_files({big, big});
  unit_.queue_fault(sim::Fault::InTrain(sim::FaultKind::DropPacket, 1));
  open();
  // File 1: the request itself names the packet it wants, also after a lost one.
  EXPECT_EQ(fnQuibra_ReadExerciseFile(0, 1, 0), 1);
  EXPECT_EQ(Downloaded(), big);
  std::vector<Bytes> asked;
  for (const auto& r : unit_.requests())
    asked.push_back(r.payload);
  EXPECT_EQ(asked, (std::vector<Bytes>{{1, 0, 0, 0xFF, 0xFF},
                                       {1, 0, 0, 0x00, 0x01},
                                       {1, 0, 0, 0x00, 0x01},
                                       {1, 0, 0, 0x00, 0x00}}));
  // File 0 is acknowledged like the whole memory.
  unit_.clear_requests();
  EXPECT_EQ(fnQuibra_ReadExerciseFile(0, 0, 0), 1);
  EXPECT_EQ(Downloaded(), big);
  EXPECT_EQ(request_ids(4), (std::vector<int32_t>{9106, 9022, 9022, 9022}));
}

TEST_F(ExerciseDownload, RefreshReadsTheUnitFromTheMemory) {
  m().exercise_memory.allocate();
  const uint8_t bytes[] = {0, 0, 255, 1, 0x42};
  for (int32_t i = 0; i < 5; ++i)
    m().exercise_memory.store(i + 1, bytes[i]);
  m().exercise_memory.set_count(5);
  fnQuibra_RefreshMonitorInfo(1);  // 255 + 256: no type
  EXPECT_EQ(m().unit.type.load(), -1);
  EXPECT_EQ(m().unit.variant.load(), 0x42);
  m().exercise_memory.store(3, 37);
  m().analysis.user_value_reader = &UserValue77;
  fnQuibra_RefreshMonitorInfo(0);
  EXPECT_EQ(m().unit.type.load(), 23);
  EXPECT_EQ(m().unit.variant.load(), 1);
  EXPECT_EQ(m().analysis.user_value.load(), 77);
}

}  // namespace
}  // namespace quibra::exercise

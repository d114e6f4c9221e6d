// The fitness units' data read from hand-laid exercise memories: usage counters, weekly
// summaries and personal values; test results of every layout; the programme; and an exercise
// summary decoded into the record and saved as an HRM file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "quibra/quibra.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

constexpr int32_t kNoValue = -1677216;

class FitnessData : public ExerciseMemoryTest {};

TEST_F(FitnessData, UsageCountersSummariesAndPersonalValues) {
  // Week 0 lies at 101 + 23 = 124: times 0x30 s 0x02 min 0x01 h, then the later fields.
  Load({{82, 0x34},
        {83, 0x12},
        {84, 7},
        {86, 0xFF},
        {87, 0xFF},
        {92, 9},
        {93, 1},
        {100, 3},
        {124, 0x30},
        {125, 0x02},
        {126, 0x01},
        {142, 0x10},
        {143, 0x27},
        {144, 88},
        {145, 5},
        {146, 1},
        // type 30 personal values: 16-bit in tenths at 12, a date at 15 (day, month, year - 1900)
        {12, 0xD2},
        {13, 0x02},
        {15, 15},
        {16, 6},
        {17, 80},
        {21, 0x03},
        {22, 77}},
       400);
  struct Case {
    int32_t got, expected;
  };
  for (const Case c : {
           Case{fnQuibra_GetUsageCounter(30, 5000), 0x1234},
           Case{fnQuibra_GetUsageCounter(30, 5002), 0xFFFF},
           Case{fnQuibra_GetUsageCounter(31, 5000), 7},    // type 31 keeps 5000 at 84
           Case{fnQuibra_GetUsageCounter(31, 5001), 265},  // and 5001 at 92
           Case{fnQuibra_GetUsageCounter(31, 5002), kNoValue},
           Case{fnQuibra_GetUsageCounter(30, 5012), kNoValue},
           Case{fnQuibra_GetUsageCounter(26, 5000), kNoValue},
           Case{fnQuibra_GetWeekSummaryCount(29), 3},
           Case{fnQuibra_GetWeekSummaryValue(30, 0, 6001), 3600 + 120 + 30},
           Case{fnQuibra_GetWeekSummaryValue(30, 0, 6007), 10000},
           Case{fnQuibra_GetWeekSummaryValue(30, 0, 6008), 88},
           Case{fnQuibra_GetWeekSummaryValue(30, 0, 6009), 261},
           Case{fnQuibra_GetWeekSummaryValue(29, 0, 6001), kNoValue},
           Case{fnQuibra_GetWeekSummaryValue(30, 0, 6010), kNoValue},
           Case{fnQuibra_GetUserSetting(30, 7001), 72},  // 722 tenths
           Case{fnQuibra_GetUserSetting(30, 7003), 19800615},
           Case{fnQuibra_GetUserSetting(30, 7007), 77},
           Case{fnQuibra_GetUserSetting(30, 7008), 1},
           Case{fnQuibra_GetUserSetting(30, 7009), kNoValue},
           Case{fnQuibra_GetUserSetting(26, 7001), kNoValue},  // position 7 is 0
       }) {
    EXPECT_EQ(c.got, c.expected);
  }
}

TEST_F(FitnessData, Type26KeepsPersonalValuesOnlyInItsLongLayout) {
  Load({{7, 2}, {170, 0x6C}, {171, 0x07}, {173, 1}, {174, 2}, {175, 195}}, 200);
  EXPECT_EQ(fnQuibra_GetUserSetting(26, 7001), kNoValue);  // high nibble 0
  Load({{7, 0x12}, {170, 0x6C}, {171, 0x07}, {173, 1}, {174, 2}, {175, 195}}, 200);
  EXPECT_EQ(fnQuibra_GetUserSetting(26, 7001), 190);  // 1900 tenths
  EXPECT_EQ(fnQuibra_GetUserSetting(26, 7003), 19950201);
  Load({{7, 0x12}, {173, 1}, {174, 2}, {175, 190}}, 200);
  EXPECT_EQ(fnQuibra_GetUserSetting(26, 7003), 19900201);  // 2090 is a century earlier
}

TEST_F(FitnessData, TestResultsOfEveryLayout) {
  m().unit.type = 27;
  // J9 records from position 8: day, month, year - 2000, value. Record 1 has month nibble 0.
  Load({{8, 0x80 | 15}, {9, 0xF3}, {10, 24}, {11, 55}, {12, 1}, {13, 0x10}, {14, 24}, {15, 40}},
       196);
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(0), 20240315);  // bit 7 of the day, high nibble of the
  EXPECT_EQ(fnQuibra_GetFitnessTestValue(0), 55);       // month are not part of the date
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(1), 0);
  EXPECT_EQ(fnQuibra_GetFitnessTestValue(1), 40);

  // Type 30: 16 newest-first records from 12, the newest index in the low nibble of 76.
  m().unit.type = 30;
  Load({{76, 0xF1}, {16, 2}, {17, 5}, {18, 23}, {19, 61}, {12, 1}, {13, 5}, {14, 23}, {15, 60}},
       200);
  EXPECT_EQ(fnQuibra_GetFitnessTestCount(), 2);
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(0), 20230502);
  EXPECT_EQ(fnQuibra_GetFitnessTestValue(1), 60);
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(2), 0);  // slot 15, empty

  // Type 32: a ring of 47 from 170; full, the newest index at 358 names the last one.
  m().unit.type = 32;
  ExerciseMemoryTest::Bytes ring;
  for (int32_t k = 0; k < 47; ++k) {
    ring[170 + 4 * k] = static_cast<uint8_t>(1 + k % 28);
    ring[171 + 4 * k] = 7;
    ring[172 + 4 * k] = 22;
    ring[173 + 4 * k] = static_cast<uint8_t>(k);
  }
  ring[358] = 4;
  Load(ring, 400);
  EXPECT_EQ(fnQuibra_GetFitnessTestCount(), 47);
  EXPECT_EQ(fnQuibra_GetFitnessTestValue(0), 5);  // the oldest follows the newest
  EXPECT_EQ(fnQuibra_GetFitnessTestValue(46), 4);
  m().unit.type = 31;
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(0), kNoValue);
}

TEST_F(FitnessData, TheProgrammeImage) {
  ExerciseMemoryTest::Bytes bytes = {{7, 16},  {8, 0x10},   {9, 0x01},   {12, 0x00}, {13, 0x04},
                                     {158, 9}, {163, 0x00}, {164, 0x01}, {181, 255}};
  // Entry 1 from position 38: a value, then the name "RUN" padded with device spaces.
  bytes[38] = 0x2C;
  bytes[39] = 0x01;
  const uint8_t name[] = {28, 31, 24, 10, 10, 10, 10, 10};  // R U N in table 0
  for (int32_t i = 0; i < 8; ++i)
    bytes[48 + i] = name[i];
  bytes[56] = 42;
  Load(bytes, 181);
  FitnessProgramSummary s{};
  ASSERT_EQ(fnQuibra_GetProgramSummary(&s), 1);
  EXPECT_EQ(s.Value1, 272);
  EXPECT_EQ(s.FactorA, 1024);
  EXPECT_EQ(s.Byte158, 9);
  EXPECT_EQ(s.ScaledA, 512);  // 256 x 1024 / 512
  EXPECT_EQ(s.RunState, -1);  // 255 at 181

  FitnessProgramFile f{};
  ASSERT_EQ(fnQuibra_GetProgramFileInfo(1, &f), 1);
  EXPECT_EQ(f.Size, 40u);
  EXPECT_EQ(f.Value1, 300);
  EXPECT_STREQ(f.Name, "RUN");
  EXPECT_EQ(f.Last, 42);
  EXPECT_EQ(fnQuibra_GetProgramFileInfo(7, &f), 0);

  bytes[7] = 0;  // no closing byte in this layout
  Load(bytes, 181);
  ASSERT_EQ(fnQuibra_GetProgramSummary(&s), 1);
  EXPECT_EQ(s.RunState, kNoValue);
}

TEST_F(FitnessData, ASummaryDecodesAndSavesAsHrm) {
  m().unit.type = 25;
  // One 44-byte summary (high nibble of 7 set, bit 0 set: byte 43 counts) after one lead block.
  const int32_t r = 47 + 15;
  ExerciseMemoryTest::Bytes bytes = {{7, 0x11}, {8, 1}, {9, 1}};
  bytes[r] = 0x80;  // unnamed
  bytes[r + 8] = 0x80 | 9;
  bytes[r + 9] = 11;
  bytes[r + 10] = 95;  // 2095 is taken as 1995
  bytes[r + 11] = 0x05;
  bytes[r + 12] = 0x30;
  bytes[r + 13] = 0x07;  // 07:30:05
  bytes[r + 14] = 0x00;
  bytes[r + 15] = 0x45;  // 45 min
  bytes[r + 19] = 0x20;
  bytes[r + 20] = 0x03;
  bytes[r + 22] = 0x05;  // bit 2 wins over bit 0
  bytes[r + 26] = 0x10;  // zone 2: 10 s
  bytes[r + 35] = 140;
  bytes[r + 36] = 170;
  bytes[r + 43] = 99;
  Load(bytes, r + 44);
  EXPECT_EQ(fnQuibra_GetFitnessFileCount(), 1);
  EXPECT_EQ(fnQuibra_GetFitnessDataType(), 1);
  char name[9] = {};
  EXPECT_EQ(fnQuibra_GetFitnessExeName(name, 0), 8);
  EXPECT_STREQ(name, "Exercise");
  EXPECT_EQ(fnQuibra_AnalyzeFile_Fitness(1), 0);  // not in the memory
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);       // the record-store road takes it too
  struct Case {
    int32_t param, value;
  };
  for (const Case c :
       {Case{9, 19951109}, Case{10, 270050}, Case{11, 2700000}, Case{80, 800}, Case{91, 800},
        Case{109, 2}, Case{70, 100}, Case{20, 140}, Case{19, 170}, Case{134, 99}}) {
    EXPECT_EQ(fnQuibra_GetRecParam(c.param), c.value) << c.param;
  }
  const auto path = std::filesystem::temp_directory_path() /
                    (std::string("quibra-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".hrm");
  std::string text = path.string();
  text.resize(260);
  ASSERT_EQ(fnQuibra_SaveExerciseHRM(0, text.data(), 0), 1);
  std::ifstream in(path);
  std::stringstream saved;
  saved << in.rdbuf();
  std::filesystem::remove(path);
  EXPECT_NE(saved.str().find("Date=19951109"), std::string::npos);
  EXPECT_NE(saved.str().find("StartTime=07:30:05"), std::string::npos);
}

}  // namespace
}  // namespace quibra::testing

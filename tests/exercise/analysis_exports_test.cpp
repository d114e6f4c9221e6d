// Decoding through the exports and reading the exercise back value by value.
#include <cstring>
#include <map>

#include "frame/state_flags.h"
#include "quibra/quibra.h"
#include "support/exercise_expectations.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

using AnalysisExportsTest = ExerciseMemoryTest;

TEST_F(AnalysisExportsTest, TypeWithoutDataOnlyNamesItself) {
  m().unit.type = 9;
  Load({{3, 0xEE}}, 20);  // no product code of a known unit
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  ExpectParams({{5, 9}, {83, 0}});
  EXPECT_EQ(fnQuibra_GetRecFlags(21), 0);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 0);
}

TEST_F(AnalysisExportsTest, UnknownTypeFailsWithTheStoreReset) {
  m().exercise_store.ResetExerciseRecord(0);
  m().exercise_store.SetExerciseParam(0, 9, 20240101);
  m().unit.type = 0;
  Load({{3, 0xEE}}, 20);
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 0);
  EXPECT_EQ(fnQuibra_GetRecParam(9), 0);
}

TEST_F(AnalysisExportsTest, OnlineModeLeavesTheExerciseAlone) {
  m().exercise_store.ResetExerciseRecord(0);
  m().exercise_store.SetExerciseParam(0, 9, 20240101);
  frame::SetStateFlag(frame::kFlagOnlineMode, 1);
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  EXPECT_EQ(fnQuibra_GetRecParam(9), 20240101);
}

// A whole-memory image of a type-11 unit (product code 17) with one exercise of three samples;
// then the same type as a type-21 unit (product code 102), whose note is kept.
TEST_F(AnalysisExportsTest, WholeMemoryImagesPickTheDecoderByProductCode) {
  std::map<int32_t, uint8_t> image;
  image[2] = 17;
  image[4] = 'N';
  const int32_t e = 79;
  image[e + 1] = 82;     // header 0..78, samples at 79..81
  image[e + 14] = 0x01;  // day 1 of month 1 (byte 16)
  image[e + 16] = 0x01;
  image[e + 18] = 0x01;  // one minute
  image[e + 81] = 90;
  image[e + 80] = 91;
  image[e + 79] = 92;
  Load(image, e + 81);
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  ExpectParams({{5, 11}, {11, 60000}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 3);
  EXPECT_EQ(fnQuibra_GetHRMSamples(1, 0), 90);
  EXPECT_EQ(fnQuibra_GetHRMSamples(1, 2), 92);
  EXPECT_EQ(fnQuibra_GetHRMSamples(1, 3), 0);
  EXPECT_EQ(fnQuibra_GetExerciseNote()[0], 0);  // type 11 keeps no note
  EXPECT_EQ(fnQuibra_AnalyzeFile(1, 1), 0);     // there is no second exercise

  image[2] = 102;
  Load(image, e + 81);
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 1), 0);  // the outdoor chain starts at 83: nothing there
  EXPECT_EQ(fnQuibra_GetRecParam(5), 21);
  EXPECT_EQ(fnQuibra_GetExerciseNote()[0], 'N');
}

TEST_F(AnalysisExportsTest, LapAndSwapGetters) {
  auto& store = m().exercise_store;
  store.ResetExerciseRecord(0);
  store.SetExerciseParam(0, 11, 100000);
  ASSERT_EQ(store.InsertLap(0, 40, false), 0);
  store.SetLapField(0, 0, 607, 150, false);
  store.SetLapText(0, 0, 701, "Hill");
  store.RecordLimitSwap(0, 70, 2);
  EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 1);
  ExpectLap(0, {{601, 40}, {607, 150}});
  ExpectLap(1, {{601, 0}});
  EXPECT_STREQ(fnQuibra_GetLapText(0, 701), "Hill");
  EXPECT_STREQ(fnQuibra_GetLapText(1, 701), "");
  EXPECT_EQ(fnQuibra_GetNbrOfSwapTimes(), 1);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(0, 900), 70);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(0, 901), 2);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(0, 902), 0);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(1, 900), 0);
  ExpectFlags({{14, 1}, {26, 0}});
  EXPECT_EQ(fnQuibra_GetRecParam(171), 0);
}

}  // namespace
}  // namespace quibra::testing

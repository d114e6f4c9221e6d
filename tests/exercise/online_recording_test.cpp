#include "exercise/online_recording.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/state_flags.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::exercise {
namespace {

TEST(ArtefactSplitting, NearTwiceOrThriceTheLastIntervalBecomesBeats) {
  struct Case {
    int32_t last, interval;
    std::vector<int32_t> beats;
    std::vector<int32_t> offsets;
  } const cases[] = {
      {800, 1600, {797, 803}, {0, 800}},
      {800, 2400, {798, 803, 799}, {0, 800, 1600}},
      {800, 2000, {2000}, {0}},  // between the two bands
      {500, 1000, {497, 503}, {0, 500}},
      {500, 1500, {498, 503, 499}, {0, 500, 1000}},
      {800, 1440, {1440}, {0}},  // 1.8 times: not above it
      {0, 1600, {1600}, {0}},    // no history yet
  };
  for (const Case& c : cases) {
    const SplitBeats split = SplitArtefact(c.last, c.interval);
    std::vector<int32_t> beats, offsets;
    for (int i = 0; i < split.count; ++i) {
      beats.push_back(split.parts[static_cast<size_t>(i)].interval);
      offsets.push_back(split.parts[static_cast<size_t>(i)].offset);
    }
    EXPECT_EQ(beats, c.beats) << c.last << " " << c.interval;
    EXPECT_EQ(offsets, c.offsets) << c.last << " " << c.interval;
  }
}

class OnlineRecordingTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    frame::SetStateFlag(frame::kFlagOnlineMode, 1);
    fnQuibra_ResetOnlineSamples();
  }
  OnlineRecording& rec() { return m().online; }
  std::vector<int32_t> Stored() {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < fnQuibra_GetNbrOfOnlineSamples(0); ++i)
      out.push_back(fnQuibra_GetOnlineSample(0, 1, i));
    return out;
  }
};

TEST_F(OnlineRecordingTest, MissedBeatCorrectionSplitsWhatItStores) {
  frame::SetStateFlag(frame::kFlagMissedBeatCorrection, 1);
  for (int32_t x : {800, 1600, 800, 2400, 2000})
    rec().SplitOnlineBeat(0, 10000, 1, 0, x);
  // 2000 after 799 is exactly 2.5 times it: one beat.
  EXPECT_EQ(Stored(), (std::vector<int32_t>{800, 797, 803, 800, 798, 803, 799, 2000}));
  // The split beats sit at their own times.
  EXPECT_EQ(fnQuibra_GetOnlineSample(0, 22, 2), 10800);
  EXPECT_EQ(fnQuibra_GetOnlineSample(0, 22, 6), 11600);

  frame::SetStateFlag(frame::kFlagMissedBeatCorrection, 0);
  rec().SplitOnlineBeat(0, 12000, 1, 0, 4000);
  EXPECT_EQ(Stored().back(), 4000);
  EXPECT_EQ(rec().history().last, 4000);
}

TEST_F(OnlineRecordingTest, RingHandsOutBeatsUntilItOverflows) {
  EXPECT_EQ(fnQuibra_GetOnlineData(0), -1);
  int32_t buffer[kRealOnlineDataWords] = {};
  EXPECT_EQ(fnQuibra_GetRealOnlineData(0, buffer), -1);

  // A silence sample goes into the ring, not into the exercise, and is skipped by the value
  // getter.
  rec().no_data(50, 3);
  rec().beat(100, true, 812);
  rec().beat(200, false, 820);  // paused: shown, not recorded
  EXPECT_EQ(fnQuibra_GetOnlineData(0), 812);
  EXPECT_EQ(fnQuibra_GetRealOnlineData(0, buffer), 0);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ((std::vector<int32_t>(buffer + 1, buffer + 7)),
            (std::vector<int32_t>{0, 200, 0, 820, 0, 0}));
  EXPECT_EQ(Stored(), std::vector<int32_t>{812});

  for (int i = 0; i < kOnlineRingBeats; ++i)
    rec().PushOnlineBeatRecord(0, 300 + i, 1, 0, 700 + i, 0);
  EXPECT_EQ(fnQuibra_GetNbrOfOnlineSamples(0), 101);
  // The 101st beat without polling empties the ring and is not kept either.
  rec().PushOnlineBeatRecord(0, 500, 1, 0, 999, 0);
  EXPECT_EQ(fnQuibra_GetOnlineData(0), -1);
  EXPECT_EQ(fnQuibra_GetNbrOfOnlineSamples(0), 101);

  frame::SetStateFlag(frame::kFlagOnlineMode, 0);
  rec().beat(600, true, 640);
  EXPECT_EQ(fnQuibra_GetOnlineData(0), -1);
}

TEST_F(OnlineRecordingTest, OnlineExerciseCarriesRrSamplesAndLaps) {
  EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 5), 13);
  EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 12), 238);
  EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 7), 32);
  EXPECT_EQ(fnQuibra_AddOnlineLaptime(0), 0);  // no beat yet

  rec().beat(4200, true, 790);
  rec().beat(5010, true, 810);
  EXPECT_EQ(fnQuibra_AddOnlineLaptime(0), 1);
  EXPECT_EQ(fnQuibra_AddOnlineLaptime(0), 0);  // the same beat again
  rec().beat(5830, true, 820);
  EXPECT_EQ(fnQuibra_AddOnlineLaptime(0), 1);
  EXPECT_EQ(fnQuibra_GetNbrOfOnlineIntTimes(0), 2);
  int32_t lap[6] = {};
  EXPECT_EQ(fnQuibra_GetOnlineLaptime(0, 0, lap), 2);
  EXPECT_EQ(lap[2], 50);  // 1/10 s
  EXPECT_EQ(lap[4], 810);
  EXPECT_EQ(lap[5], 1);
  EXPECT_EQ(fnQuibra_GetLaptimeSample(0, 601, 1), 58);
  EXPECT_EQ(fnQuibra_GetLaptimeSample(1, 601, 1), -1);

  int32_t info[7] = {28, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(fnQuibra_GetOnlineDataEx(0, 2, info), 3);
  EXPECT_EQ((std::vector<int32_t>(info, info + 7)),
            (std::vector<int32_t>{28, 1, 5830, 0, 820, 2, 0}));
  EXPECT_EQ(fnQuibra_SetOnlineSample(0, 1, 2, 818), 1);
  EXPECT_EQ(fnQuibra_SetOnlineSample(0, 1, 3, 818), 0);

  rec().finish();
  EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 11), 790 + 810 + 818);
}

TEST_F(OnlineRecordingTest, PauseTakesOnlyZeroOrOne) {
  EXPECT_EQ(fnQuibra_PauseOnline(2), 0);
  EXPECT_EQ(fnQuibra_PauseOnline(1), 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagOnlinePaused), 1);
  EXPECT_FALSE(rec().running());
  EXPECT_EQ(fnQuibra_PauseOnline(0), 1);
  EXPECT_TRUE(rec().running());
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagOnlinePaused), 0);
}

}  // namespace
}  // namespace quibra::exercise

// The exercise record store: bounds, growth steps, sample tables, laps and limit swaps.
#include "exercise/record_store.h"

#include <string>
#include <thread>

#include "frame/lifecycle.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using exercise::SampleInput;

class RecordStoreTest : public ModuleTest {
 protected:
  exercise::ExerciseStore& store() { return m().exercise_store; }

  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  }

  static SampleInput Sample(int32_t index, int32_t hr) {
    SampleInput s{};
    s.index = index;
    s.heart_rate = hr;
    return s;
  }

  // Adds a sample and counts it, as the decoders do.
  int32_t Add(const SampleInput& s) {
    const int32_t ok = store().AddExerciseSample(0, s);
    if (ok == 1) store().IncrementSampleCount(0);
    return ok;
  }
};

TEST(RecordStoreLoad, InactiveAfterLoadUntilTheFirstReset) {
  frame::LoadModule();
  auto& store = module().exercise_store;
  EXPECT_EQ(store.GetExerciseParam(0, 9), 0);
  EXPECT_EQ(store.SetExerciseParam(0, 9, 20240101), 0);
  EXPECT_EQ(store.GetExerciseParam(0, 9), 0);
  EXPECT_EQ(store.InsertLap(0, 0, true), -1);
  EXPECT_EQ(store.SetLapText(0, 0, 700, "x"), 0);
  EXPECT_STREQ(store.GetLapTextField(0, 0, 700), "");
  EXPECT_EQ(store.RecordLimitSwap(0, 10, 1), 0);
  EXPECT_EQ(store.SampleCapacity(0), 0);

  ASSERT_EQ(store.ResetExerciseRecord(0), 1);
  EXPECT_EQ(store.SetExerciseParam(0, 9, 20240101), 1);
  EXPECT_EQ(store.GetExerciseParam(0, 9), 20240101);
  EXPECT_EQ(store.SampleCapacity(0), 128);
  EXPECT_EQ(store.LapCapacity(0), 10);
  EXPECT_EQ(store.SwapCapacity(0), 10);

  // Unload shuts the store down; the next load starts inactive again.
  frame::UnloadModule();
  frame::LoadModule();
  EXPECT_EQ(module().exercise_store.GetExerciseParam(0, 9), 0);
  frame::UnloadModule();
}

TEST_F(RecordStoreTest, IdsAndRecordNumbersOutsideTheirRangesAreRefused) {
  EXPECT_EQ(store().SetExerciseParam(0, 0, 5), 0);
  EXPECT_EQ(store().SetExerciseParam(0, 171, 5), 0);
  EXPECT_EQ(store().SetExerciseParam(0, 170, 5), 1);
  EXPECT_EQ(store().SetExerciseParam(0, 1, -7), 1);
  EXPECT_EQ(store().GetExerciseParam(0, 170), 5);
  EXPECT_EQ(store().GetExerciseParam(0, 1), -7);
  EXPECT_EQ(store().GetExerciseParam(0, 171), 0);

  EXPECT_EQ(store().SetExerciseFlag(0, 0, 1), 0);
  EXPECT_EQ(store().SetExerciseFlag(0, 26, 1), 0);
  EXPECT_EQ(store().SetExerciseFlag(0, 25, 1), 1);
  EXPECT_EQ(store().GetExerciseFlag(0, 25), 1);
  EXPECT_EQ(store().GetExerciseFlag(0, 26), 0);

  EXPECT_EQ(store().SetExerciseParam(1, 9, 5), 0);
  EXPECT_EQ(store().SetExerciseParam(-1, 9, 5), 0);
  EXPECT_EQ(store().ResetExerciseRecord(1), 0);
}

TEST_F(RecordStoreTest, ResetClearsEverythingAndRestoresTheFirstCapacities) {
  store().SetExerciseParam(0, 11, 1000000);
  store().SetExerciseFlag(0, 3, 1);
  for (int32_t i = 0; i < 300; ++i)
    ASSERT_EQ(Add(Sample(i, 100)), 1);
  for (int32_t t = 1; t <= 15; ++t)
    ASSERT_GE(store().InsertLap(0, t, false), 0);
  store().SetLapText(0, 3, 701, "kept?");
  for (int32_t i = 0; i < 12; ++i)
    ASSERT_EQ(store().RecordLimitSwap(0, i, 0), 1);
  EXPECT_GT(store().SampleCapacity(0), 128);
  EXPECT_EQ(store().LapCapacity(0), 20);
  EXPECT_EQ(store().SwapCapacity(0), 20);
  // A copy keeps the counted entries through the reset; samples counted past the table read 0
  // in it as in the store.
  ASSERT_EQ(store().SetSampleCount(0, 1000), 1);
  const exercise::ExerciseRecord copy = store().CopyExerciseRecord(0);

  ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  EXPECT_EQ(store().GetExerciseParam(0, 11), 0);
  EXPECT_EQ(store().GetExerciseFlag(0, 3), 0);
  EXPECT_EQ(store().GetSampleCount(0), 0);
  EXPECT_EQ(store().GetLapCount(0), 0);
  EXPECT_EQ(store().GetLimitSwapCount(0), 0);
  EXPECT_EQ(store().SampleCapacity(0), 128);
  EXPECT_EQ(store().LapCapacity(0), 10);
  EXPECT_EQ(store().SwapCapacity(0), 10);
  store().SetLapCount(0, 4);
  EXPECT_STREQ(store().GetLapTextField(0, 3, 701), "");

  EXPECT_EQ(exercise::RecordParam(copy, 11), 1000000);
  EXPECT_EQ(exercise::RecordFlag(copy, 3), 1);
  EXPECT_EQ(copy.sample_count, 1000);
  EXPECT_EQ(exercise::RecordSample(copy, 1, 299), 100);
  EXPECT_EQ(exercise::RecordSample(copy, 1, 500), 0);
  EXPECT_EQ(copy.lap_count, 15);
  EXPECT_EQ(exercise::RecordLapField(copy, 14, 601), 15);
  EXPECT_EQ(exercise::RecordLapField(copy, 15, 601), 0);
  EXPECT_STREQ(copy.laps[3].text701.data(), "kept?");
  EXPECT_EQ(copy.swap_count, 12);
  EXPECT_EQ(copy.swaps[11].time, 11);
}

TEST_F(RecordStoreTest, PlausibilityFilterDropsOnlyWhollyImplausibleSamples) {
  store().SetExerciseFlag(0, 3, 1);
  // Heart rate 300 is out of range but channel 2 value 0 is plausible: kept whole.
  SampleInput kept = Sample(0, 300);
  EXPECT_EQ(Add(kept), 1);
  EXPECT_EQ(store().GetSampleValue(0, 1, 0), 300);

  SampleInput refused = Sample(1, 300);
  refused.ch2 = 200;
  refused.ch3 = 200;
  refused.ch5 = 3000;
  refused.ch4 = 3000;
  EXPECT_EQ(store().AddExerciseSample(0, refused), 0);

  // Each range edge on its own rescues the sample.
  SampleInput edge = refused;
  edge.ch4 = -2047;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 1);
  edge.ch4 = -2048;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 0);
  edge.ch5 = 2000;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 1);
  edge.ch5 = 2001;
  edge.heart_rate = 250;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 1);
  edge.heart_rate = -1;
  edge.ch3 = 180;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 1);
  edge.ch3 = 181;
  edge.ch2 = 128;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 1);
  edge.ch2 = 129;
  EXPECT_EQ(store().AddExerciseSample(0, edge), 0);
}

TEST_F(RecordStoreTest, RrSamplesOnlyFromTheUnitsThatRecordThem) {
  store().SetExerciseParam(0, 12, 238);
  store().SetExerciseParam(0, 5, 22);
  EXPECT_EQ(store().AddExerciseSample(0, Sample(0, 80)), 0);
  store().SetExerciseParam(0, 5, 13);
  EXPECT_EQ(store().AddExerciseSample(0, Sample(0, 80)), 1);
  store().SetExerciseParam(0, 5, 43);
  EXPECT_EQ(store().AddExerciseSample(0, Sample(0, 80)), 1);
  store().SetExerciseParam(0, 12, 5);
  store().SetExerciseParam(0, 5, 22);
  EXPECT_EQ(store().AddExerciseSample(0, Sample(0, 80)), 1);
}

TEST_F(RecordStoreTest, HeartRateOnlyTableAnswersEveryChannel) {
  ASSERT_EQ(Add(Sample(0, 71)), 1);
  ASSERT_EQ(Add(Sample(1, 250)), 1);
  EXPECT_EQ(store().GetSampleValue(0, 5, 1), 250);
  EXPECT_EQ(store().GetSampleValue(0, 22, 0), 71);
  EXPECT_EQ(store().GetSampleValue(0, 8, 0), 71);
  // Beyond the count and below zero read 0.
  EXPECT_EQ(store().GetSampleValue(0, 1, 2), 0);
  EXPECT_EQ(store().GetSampleValue(0, 1, -1), 0);
  // Only the heart rate can be written without flag 3.
  EXPECT_EQ(store().SetSampleValue(0, 2, 0, 9), 0);
  EXPECT_EQ(store().SetSampleValue(0, 1, 0, 72), 1);
  EXPECT_EQ(store().GetSampleValue(0, 1, 0), 72);
}

TEST_F(RecordStoreTest, ExtendedSamplesStoreEachChannelInItsField) {
  store().SetExerciseFlag(0, 3, 1);
  SampleInput s = Sample(0, 150);
  s.ch2 = 123;
  s.ch3 = 90;
  s.ch4 = -35;
  s.ch5 = 410;
  s.ch6_ch7 = 0x1234;  // channel 6 0x34, channel 7 0x12
  s.ch9 = -5;          // negative air pressure is stored as 0
  s.unused[0] = 99;
  s.ch20 = 20;
  s.ch21 = 21;
  s.ch22 = 100000;  // a 32-bit channel
  s.ch23 = -23;
  s.ch24 = 24;
  ASSERT_EQ(Add(s), 1);
  const int32_t channels[] = {1, 2, 3, 4, 5, 6, 7, 9, 20, 21, 22, 23, 24};
  const int32_t stored[] = {150, 123, 90, -35, 410, 0x34, 0x12, 0, 20, 21, 100000, -23, 24};
  for (size_t i = 0; i < std::size(channels); ++i)
    EXPECT_EQ(store().GetSampleValue(0, channels[i], 0), stored[i]) << channels[i];
  // Channels without a field.
  for (int32_t channel : {0, 8, 13, 19, 25}) {
    EXPECT_EQ(store().GetSampleValue(0, channel, 0), 0) << channel;
    EXPECT_EQ(store().SetSampleValue(0, channel, 0, 1), 0) << channel;
  }
  // 16-bit channels keep the low half and read back sign-extended; 32-bit ones keep all.
  EXPECT_EQ(store().SetSampleValue(0, 2, 0, 0x1FFFF), 1);
  EXPECT_EQ(store().GetSampleValue(0, 2, 0), -1);
  EXPECT_EQ(store().SetSampleValue(0, 10, 0, 0x12345678), 1);
  EXPECT_EQ(store().GetSampleValue(0, 10, 0), 0x12345678);
}

TEST_F(RecordStoreTest, TheTwoTablesAreSeparate) {
  ASSERT_EQ(Add(Sample(0, 60)), 1);  // heart-rate-only table
  store().SetExerciseFlag(0, 3, 1);
  EXPECT_EQ(store().GetSampleValue(0, 1, 0), 0);  // the extended table has nothing yet
  store().SetExerciseFlag(0, 3, 0);
  EXPECT_EQ(store().GetSampleValue(0, 1, 0), 60);
}

TEST_F(RecordStoreTest, SampleTablesGrowInStepsWithAMarginOfFive) {
  for (int32_t i = 0; i < 123; ++i)
    ASSERT_EQ(Add(Sample(i, 80)), 1);
  EXPECT_EQ(store().SampleCapacity(0), 128);  // index 122 is still below 128 - 5
  ASSERT_EQ(Add(Sample(123, 81)), 1);
  EXPECT_EQ(store().SampleCapacity(0), 256);
  for (int32_t i = 124; i < 251; ++i)
    ASSERT_EQ(Add(Sample(i, 80)), 1);
  EXPECT_EQ(store().SampleCapacity(0), 256);
  ASSERT_EQ(Add(Sample(251, 80)), 1);
  EXPECT_EQ(store().SampleCapacity(0), 384);
  EXPECT_EQ(store().GetSampleValue(0, 1, 123), 81);
  EXPECT_EQ(store().GetSampleCount(0), 252);
}

// The tables keep their memory through a reset and grow into it again: nothing written before
// the reset, in either table and at any index, reads back afterwards. Channel 10 has no place in a
// caller's sample, so a slot that was not cleared would show it.
TEST_F(RecordStoreTest, MemoryKeptThroughAResetHoldsNothingOld) {
  store().SetExerciseFlag(0, 3, 1);
  ASSERT_EQ(store().SetSampleValue(0, 10, 700, 7), 1);  // far ahead of the count
  for (int32_t i = 0; i < 400; ++i)
    ASSERT_EQ(Add(Sample(i, 90)), 1);
  ASSERT_EQ(store().SetSampleValue(0, 10, 300, 5), 1);
  store().SetExerciseFlag(0, 3, 0);
  ASSERT_EQ(store().SetSampleValue(0, 1, 600, 77), 1);

  ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  store().SetExerciseFlag(0, 3, 1);
  for (int32_t i = 0; i < 800; ++i)
    ASSERT_EQ(Add(Sample(i, 91)), 1);
  for (int32_t i : {0, 300, 600, 700, 799}) {
    EXPECT_EQ(store().GetSampleValue(0, 10, i), 0) << i;
    EXPECT_EQ(store().GetSampleValue(0, 1, i), 91) << i;
  }
  store().SetExerciseFlag(0, 3, 0);
  EXPECT_EQ(store().GetSampleValue(0, 1, 600), 0);  // the heart-rate table was cleared too
  // Values written ahead of the count are cleared when the table grows; so is what the growth
  // reaches in the kept memory.
  ASSERT_EQ(store().SetSampleValue(0, 1, 850, 3), 1);
  ASSERT_EQ(store().SetSampleValue(0, 1, 2000, 4), 1);
  ASSERT_EQ(store().SetSampleCount(0, 2001), 1);
  EXPECT_EQ(store().GetSampleValue(0, 1, 850), 0);
  EXPECT_EQ(store().GetSampleValue(0, 1, 1500), 0);
  EXPECT_EQ(store().GetSampleValue(0, 1, 2000), 4);
}

TEST_F(RecordStoreTest, TheLastStorableSampleIs262144) {
  SampleInput last = Sample(262144, 99);
  EXPECT_EQ(store().AddExerciseSample(0, last), 1);
  EXPECT_EQ(store().AddExerciseSample(0, Sample(262145, 99)), 0);
  EXPECT_EQ(store().AddExerciseSample(0, Sample(-1, 99)), 0);
  EXPECT_EQ(store().SetSampleCount(0, 262145), 1);
  EXPECT_EQ(store().SetSampleCount(0, 262146), 0);
  EXPECT_EQ(store().GetSampleValue(0, 1, 262144), 99);
  EXPECT_EQ(store().IncrementSampleCount(0), 0);
  EXPECT_EQ(store().GetSampleCount(0), 262145);
}

TEST_F(RecordStoreTest, LapsAreKeptInTimeOrderAndUnique) {
  store().SetExerciseParam(0, 11, 100000);  // 1000 tenths
  EXPECT_EQ(store().InsertLap(0, 50, false), 0);
  EXPECT_EQ(store().InsertLap(0, 20, false), 0);
  EXPECT_EQ(store().InsertLap(0, 30, false), 1);
  EXPECT_EQ(store().InsertLap(0, 30, false), -1);
  ASSERT_EQ(store().GetLapCount(0), 3);
  EXPECT_EQ(store().GetLapField(0, 0, 601), 20);
  EXPECT_EQ(store().GetLapField(0, 1, 601), 30);
  EXPECT_EQ(store().GetLapField(0, 2, 601), 50);
  EXPECT_EQ(store().InsertLap(0, 60, false), 3);  // after the last
}

TEST_F(RecordStoreTest, LapTimesMustLieWithinTheExercise) {
  store().SetExerciseParam(0, 11, 12399);  // 123 tenths, rounded down
  EXPECT_EQ(store().InsertLap(0, 0, false), -1);
  EXPECT_EQ(store().InsertLap(0, 124, true), -1);
  EXPECT_EQ(store().InsertLap(0, -1, true), -1);
  EXPECT_EQ(store().InsertLap(0, 123, false), 0);
  EXPECT_EQ(store().InsertLap(0, 0, true), 0);
  EXPECT_EQ(store().GetLapCount(0), 2);
}

TEST_F(RecordStoreTest, InsertingMovesFieldsButLeavesTextsInTheirSlots) {
  store().SetExerciseParam(0, 11, 100000);
  ASSERT_EQ(store().InsertLap(0, 40, false), 0);
  store().SetLapField(0, 0, 607, 140, false);
  store().SetLapText(0, 0, 700, "first slot");
  store().SetLapText(0, 1, 701, "set before counting");  // index == count is allowed
  ASSERT_EQ(store().InsertLap(0, 10, false), 0);
  // The old lap moved up with its fields; the new lap 0 is clear apart from its time.
  EXPECT_EQ(store().GetLapField(0, 1, 601), 40);
  EXPECT_EQ(store().GetLapField(0, 1, 607), 140);
  EXPECT_EQ(store().GetLapField(0, 0, 607), 0);
  EXPECT_STREQ(store().GetLapTextField(0, 0, 700), "first slot");
  EXPECT_STREQ(store().GetLapTextField(0, 1, 701), "set before counting");
  EXPECT_STREQ(store().GetLapTextField(0, 1, 700), "");
  EXPECT_EQ(store().SetLapText(0, 3, 700, "too far"), 0);
}

TEST_F(RecordStoreTest, LapFieldAndTextBounds) {
  store().SetExerciseParam(0, 11, 100000);
  ASSERT_EQ(store().InsertLap(0, 5, false), 0);
  EXPECT_EQ(store().SetLapField(0, 0, 600, 1, false), 1);
  EXPECT_EQ(store().GetLapField(0, 0, 600), 0);  // 600 is never readable
  EXPECT_EQ(store().SetLapField(0, 0, 666, 7, false), 1);
  EXPECT_EQ(store().GetLapField(0, 0, 666), 7);
  EXPECT_EQ(store().SetLapField(0, 0, 667, 7, false), 0);
  EXPECT_EQ(store().SetLapField(0, 0, 599, 7, false), 0);
  EXPECT_EQ(store().SetLapField(0, 1, 601, 7, false), 0);  // beyond the count without grow
  EXPECT_EQ(store().GetLapField(0, 1, 601), 0);

  // With grow the table reaches the index: capacity + 10, or index + 10 beyond that.
  EXPECT_EQ(store().SetLapField(0, 10, 601, 7, true), 1);
  EXPECT_EQ(store().LapCapacity(0), 20);
  EXPECT_EQ(store().SetLapField(0, 45, 601, 7, true), 1);
  EXPECT_EQ(store().LapCapacity(0), 55);
  EXPECT_EQ(store().GetLapCount(0), 1);

  const std::string sixty(60, 'a');
  const std::string forty(40, 'a');
  EXPECT_EQ(store().SetLapText(0, 0, 700, sixty.c_str()), 1);
  EXPECT_EQ(std::string(store().GetLapTextField(0, 0, 700)), forty);
  EXPECT_EQ(store().SetLapText(0, 0, 700, nullptr), 1);
  EXPECT_STREQ(store().GetLapTextField(0, 0, 700), "");
  EXPECT_EQ(store().SetLapText(0, 0, 702, "x"), 0);
  EXPECT_STREQ(store().GetLapTextField(0, 0, 702), "");
  EXPECT_STREQ(store().GetLapTextField(0, 5, 700), "");
}

TEST_F(RecordStoreTest, SortLapsOrdersByTimeAndKeepsEqualTimesInPlace) {
  const int32_t times[] = {30, 10, 30, 20};
  ASSERT_EQ(store().SetLapCount(0, 4), 1);
  for (int32_t i = 0; i < 4; ++i) {
    store().SetLapField(0, i, 601, times[i], false);
    store().SetLapField(0, i, 607, 100 + i, false);
  }
  ASSERT_EQ(store().SortLaps(0), 1);
  EXPECT_EQ(store().GetLapField(0, 0, 601), 10);
  EXPECT_EQ(store().GetLapField(0, 1, 601), 20);
  EXPECT_EQ(store().GetLapField(0, 2, 601), 30);
  EXPECT_EQ(store().GetLapField(0, 3, 601), 30);
  EXPECT_EQ(store().GetLapField(0, 0, 607), 101);
  EXPECT_EQ(store().GetLapField(0, 1, 607), 103);
  EXPECT_EQ(store().GetLapField(0, 2, 607), 100);  // the first 30 stays before the second
  EXPECT_EQ(store().GetLapField(0, 3, 607), 102);
}

TEST_F(RecordStoreTest, LimitSwapsCountTheLimitSetsInUse) {
  store().SetExerciseParam(0, 83, 1);
  ASSERT_EQ(store().RecordLimitSwap(0, 100, 1), 1);
  EXPECT_EQ(store().GetExerciseParam(0, 83), 2);
  EXPECT_EQ(store().GetExerciseFlag(0, 14), 1);
  ASSERT_EQ(store().RecordLimitSwap(0, 200, 2), 1);
  EXPECT_EQ(store().GetExerciseParam(0, 83), 3);
  ASSERT_EQ(store().RecordLimitSwap(0, 300, 0), 1);
  EXPECT_EQ(store().GetExerciseParam(0, 83), 3);

  ASSERT_EQ(store().GetLimitSwapCount(0), 3);
  int32_t time = -1;
  int32_t set = -1;
  ASSERT_EQ(store().GetLimitSwap(0, 1, &time, &set), 1);
  EXPECT_EQ(time, 200);
  EXPECT_EQ(set, 2);
  EXPECT_EQ(store().GetLimitSwap(0, 3, &time, &set), 0);
  EXPECT_EQ(store().GetLimitSwap(0, -1, &time, &set), 0);

  for (int32_t i = 3; i < 11; ++i)
    ASSERT_EQ(store().RecordLimitSwap(0, i * 100, 0), 1);
  EXPECT_EQ(store().SwapCapacity(0), 20);
  ASSERT_EQ(store().GetLimitSwap(0, 10, &time, &set), 1);
  EXPECT_EQ(time, 1000);
}

TEST_F(RecordStoreTest, AddLimitSwapCountsOnlyWhenAskedTo) {
  ASSERT_EQ(store().AddLimitSwap(0, 0, 55, 1), 1);
  int32_t time = 0;
  int32_t set = 0;
  EXPECT_EQ(store().GetLimitSwap(0, 0, &time, &set), 0);
  ASSERT_EQ(store().IncrementLimitSwapCount(0), 1);
  ASSERT_EQ(store().GetLimitSwap(0, 0, &time, &set), 1);
  EXPECT_EQ(time, 55);
  EXPECT_EQ(set, 1);
  EXPECT_EQ(store().GetExerciseFlag(0, 14), 0);
  EXPECT_EQ(store().AddLimitSwap(0, -1, 55, 1), 0);
}

// A reader on another thread sees a consistent value at every single access.
TEST_F(RecordStoreTest, ReadersAndAWriterMayRunTogether) {
  store().SetExerciseFlag(0, 3, 1);
  std::thread writer([this] {
    for (int32_t i = 0; i < 2000; ++i)
      Add(Sample(i, i % 200));
  });
  int32_t last_count = 0;
  for (int32_t n = 0; n < 2000; ++n) {
    const int32_t count = store().GetSampleCount(0);
    EXPECT_GE(count, last_count);
    last_count = count;
    if (count > 0) {
      EXPECT_EQ(store().GetSampleValue(0, 1, count - 1), (count - 1) % 200);
    }
  }
  writer.join();
  EXPECT_EQ(store().GetSampleCount(0), 2000);
}

}  // namespace
}  // namespace quibra::testing

// The outdoor decoder against an exercise laid out byte by byte by hand.
#include "exercise/outdoor_decoder.h"

#include <map>
#include <vector>

#include "support/exercise_expectations.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

using exercise::ImageMode;
using exercise::MemoryReader;

constexpr int32_t E = 4;  // a single-exercise image chains from position 4

// One type-21 exercise: a 72-byte header, one 22-byte lap, two 3-byte samples and a closing
// byte, 101 bytes in all.
std::map<int32_t, uint8_t> HandWorkedExercise() {
  std::map<int32_t, uint8_t> b;
  b[E + 1] = 101;   // length, low byte
  b[E + 2] = 0x80;  // high bits 0; bit 7 ignored
  b[E + 3] = 0x4F;  // date: month low bits 2, day 15
  b[E + 4] = 0x31;  // date: year 24, month bit 3 -> 2024-10-15
  b[E + 5] = 0x30;  // start 09:45:30
  b[E + 6] = 0x45;
  b[E + 7] = 0x09;
  b[E + 8] = 0x02;   // metric, samples complete
  b[E + 9] = 0x2C;   // set 1 present, set 2 absent, set 3 first byte only
  b[E + 11] = 1;     // one lap
  b[E + 12] = 0;     // 5 s interval
  b[E + 13] = 0x10;  // duration 00:00:10
  b[E + 16] = 0x11;
  b[E + 17] = 0x22;
  b[E + 18] = 0x40;  // r1 = 320
  b[E + 19] = 0x01;
  b[E + 20] = 0x21;  // r2 = 33
  b[E + 22] = 0xE8;  // t1 = 1000
  b[E + 23] = 0x03;
  b[E + 24] = 0x64;  // t2 = 100
  b[E + 26] = 0x20;  // altitude 800
  b[E + 27] = 0x03;
  b[E + 28] = 0x10;  // altitude 1040
  b[E + 29] = 0x04;
  b[E + 30] = 0x50;  // 80 -> -176
  b[E + 31] = 0x19;  // 25
  b[E + 32] = 0x34;
  b[E + 33] = 0x12;
  b[E + 34] = 0x02;
  b[E + 35] = 0x01;
  b[E + 36] = 0x07;
  b[E + 37] = 100;  // limit set 1
  b[E + 38] = 180;
  b[E + 39] = 0xAA;  // limit set 2, absent
  b[E + 40] = 0xBB;
  b[E + 41] = 140;  // limit set 3, first byte only
  b[E + 42] = 0xCC;
  b[E + 43] = 0x15;  // first zone time 00:01:15
  b[E + 44] = 0x01;
  b[E + 69] = 0x01;  // ninth zone time 01:00:00
  b[E + 70] = 0x39;  // 12345
  b[E + 71] = 0x30;
  // The lap: a limit swap to set 2 at 5 s.
  const int32_t lap = E + 72;
  b[lap + 0] = 5;
  b[lap + 5] = 0x05;
  b[lap + 8] = 150;
  b[lap + 10] = 0x04;  // 1024
  b[lap + 11] = 0x10;  // 10000
  b[lap + 12] = 0x27;
  b[lap + 13] = 0xF6;  // -10
  b[lap + 14] = 0x2C;  // 300
  b[lap + 15] = 0x01;
  b[lap + 16] = 0x02;
  b[lap + 20] = 0x02;
  // Samples, read from the top: pressure 800 with heart rate 140, then altitude 1040 with 120.
  b[E + 99] = 0x83;
  b[E + 98] = 0x20;
  b[E + 97] = 0x8C;
  b[E + 96] = 0x04;
  b[E + 95] = 0x10;
  b[E + 94] = 0x78;
  b[E + 100] = 0xEE;  // the closing byte, not a sample
  return b;
}

class OutdoorDecoderTest : public ExerciseMemoryTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  }
  exercise::ExerciseStore& store() { return m().exercise_store; }

  int32_t Decode(int32_t type = 21, int32_t index = 0,
                 ImageMode mode = ImageMode::kSingleExercise) {
    return exercise::DecodeOutdoorExercise(MemoryReader(m().exercise_memory), store(), type, index,
                                           mode);
  }
  int32_t P(int32_t id) { return store().GetExerciseParam(0, id); }
  int32_t F(int32_t id) { return store().GetExerciseFlag(0, id); }
  int32_t S(int32_t channel, int32_t i) { return store().GetSampleValue(0, channel, i); }
};

TEST_F(OutdoorDecoderTest, HeaderValues) {
  Load(HandWorkedExercise(), E + 100);
  ASSERT_EQ(Decode(), 1);
  ExpectParams({{9, 20241015}, {10, 351300}, {11, 10000}, {40, 10}, {12, 5}, {36, 0x11}});
  // 96 is 33 / 32 * 60 = 61.875
  ExpectParams({{37, 0x22}, {95, 600}, {96, 62}, {97, 1000}, {98, 100}, {42, 32}, {101, 272}});
  ExpectParams({{82, -1760}, {99, 250}, {39, 0x1234}, {102, 258}, {100, 7}, {14, 100}, {13, 180}});
  ExpectParams({{16, 0}, {15, 0}, {18, 140}, {17, 240}, {71, 750}, {75, 36000}, {80, 12345}});
  ExpectParams({{91, 12345}, {147, 0}, {7, 32}});
  ExpectFlags({{6, 1}, {21, 1}, {9, 1}, {3, 1}});
}

TEST_F(OutdoorDecoderTest, LapWithLimitSwap) {
  Load(HandWorkedExercise(), E + 100);
  ASSERT_EQ(Decode(), 1);
  ASSERT_EQ(store().GetLapCount(0), 1);
  EXPECT_EQ(F(13), 1);
  // Field 603 stays 0: kind 5 is a limit swap, not a kind of lap.
  ExpectLap(0, {{601, 50}, {603, 0}, {607, 150}, {615, 256}, {646, 875}, {621, -100}, {636, 300}});
  ExpectLap(0, {{637, 2}});
  ASSERT_EQ(store().GetLimitSwapCount(0), 1);
  int32_t time = 0;
  int32_t set = 0;
  ASSERT_EQ(store().GetLimitSwap(0, 0, &time, &set), 1);
  EXPECT_EQ(time, 50);
  EXPECT_EQ(set, 2);
  EXPECT_EQ(P(83), 3);
  EXPECT_EQ(F(14), 1);
}

TEST_F(OutdoorDecoderTest, SamplesCarryAltitudeAndPressureForward) {
  Load(HandWorkedExercise(), E + 100);
  ASSERT_EQ(Decode(), 1);
  ASSERT_EQ(store().GetSampleCount(0), 2);
  EXPECT_EQ(S(1, 0), 140);
  EXPECT_EQ(S(9, 0), 300);   // 800 / 16 + 250
  EXPECT_EQ(S(4, 0), -768);  // no altitude yet
  EXPECT_EQ(S(1, 1), 120);
  EXPECT_EQ(S(4, 1), 272);
  EXPECT_EQ(S(9, 1), 300);  // the pressure repeats
  EXPECT_EQ(F(20), 1);
}

TEST_F(OutdoorDecoderTest, NoAltitudeMeansHeartRateOnly) {
  auto bytes = HandWorkedExercise();
  bytes[E + 28] = 0xFF;
  bytes[E + 29] = 0x7F;
  Load(bytes, E + 100);
  ASSERT_EQ(Decode(), 1);
  ExpectFlags({{9, 0}, {3, 0}});
  ExpectParams({{7, 16}, {42, 0}, {101, 0}});
  EXPECT_EQ(S(1, 1), 120);
  EXPECT_EQ(S(4, 1), 120);  // the heart-rate table answers every channel
}

TEST_F(OutdoorDecoderTest, ImperialFineScaledTotalsAndDurationRepair) {
  auto bytes = HandWorkedExercise();
  bytes[E + 8] = 0x00;   // imperial
  bytes[E + 10] = 0x20;  // fine scale
  bytes[E + 13] = 0x02;  // the header says 2 s, the samples last 10 s
  Load(bytes, E + 100);
  ASSERT_EQ(Decode(), 1);
  // 95 is 320 / 480 * 60; 97 is 1000 / 60 = 16 m -> 52.49 ft; 98 is 100 / 60 = 1 m -> 3.28 ft
  ExpectParams({{95, 40}, {97, 52}, {98, 3}, {11, 10000}, {40, 10}});
  EXPECT_EQ(store().GetLapCount(0), 0);  // the lap at 5 s lay beyond the 2 s header duration
}

TEST_F(OutdoorDecoderTest, ShortRecordingIsMarkedIncomplete) {
  auto bytes = HandWorkedExercise();
  bytes[E + 13] = 0x20;  // 20 s, twice what the samples cover
  Load(bytes, E + 100);
  ASSERT_EQ(Decode(), 1);
  ExpectParams({{147, 1}, {11, 20000}});
}

TEST_F(OutdoorDecoderTest, BadImagesAreRefusedOrCut) {
  // Truncated: the exercise length reaches past the received bytes.
  Load(HandWorkedExercise(), E + 60);
  EXPECT_EQ(Decode(), 0);
  // All 0xFF: a length of 32767 in a 400-byte image.
  std::map<int32_t, uint8_t> ff;
  for (int32_t pos = 1; pos <= 400; ++pos)
    ff[pos] = 0xFF;
  Load(ff, 400);
  EXPECT_EQ(Decode(), 0);
  EXPECT_EQ(Decode(20, 3, ImageMode::kWholeMemory), 0);
  // A lap count larger than the space keeps only the lap that fits before the samples.
  auto bytes = HandWorkedExercise();
  bytes[E + 11] = 200;
  Load(bytes, E + 100);
  ASSERT_EQ(Decode(), 1);
  EXPECT_EQ(store().GetLapCount(0), 1);
  EXPECT_EQ(store().GetSampleCount(0), 2);
  // Wrong monitor types are not this decoder's.
  EXPECT_EQ(Decode(22), 0);
}

}  // namespace
}  // namespace quibra::testing

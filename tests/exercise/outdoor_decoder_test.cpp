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

using Bytes = std::map<int32_t, uint8_t>;

// Bytes from a position on.
void Put(Bytes& b, int32_t from, std::initializer_list<uint8_t> values) {
  for (const uint8_t v : values)
    b[from++] = v;
}

// One type-21 exercise: a 72-byte header, one 22-byte lap, two 3-byte samples and a closing
// byte, 101 bytes in all.
Bytes HandWorkedExercise() {
  Bytes b;
  // Length 101 (high bits 0, bit 7 ignored); the date (month low bits 2, day 15; year 24, month
  // bit 3: 2024-10-15); start 09:45:30; metric, samples complete; set 1 present, set 2 absent,
  // set 3 first byte only.
  Put(b, E + 1, {101, 0x80, 0x4F, 0x31, 0x30, 0x45, 0x09, 0x02, 0x2C});
  Put(b, E + 11, {1, 0, 0x10});  // one lap, 5 s interval, duration 00:00:10
  // Bytes 16 and 17, then r1 = 320 and r2 = 33, t1 = 1000 and t2 = 100.
  Put(b, E + 16, {0x11, 0x22, 0x40, 0x01, 0x21, 0, 0xE8, 0x03, 0x64});
  // Altitudes 800 and 1040; 80 (-> -176); 25; 0x1234; 0x0102; 7; limit set 1 (100, 180), set 2
  // absent, set 3 first byte only (140); the first zone time 00:01:15.
  Put(b, E + 26,
      {0x20, 0x03, 0x10, 0x04, 0x50, 0x19, 0x34, 0x12, 0x02, 0x01, 0x07, 100, 180, 0xAA, 0xBB, 140,
       0xCC, 0x15, 0x01});
  Put(b, E + 69, {0x01, 0x39, 0x30});  // the ninth zone time 01:00:00; 12345
  // The lap: a limit swap to set 2 at 5 s; heart rate 150, 1024, 10000, -10, 300.
  const int32_t lap = E + 72;
  b[lap] = 5;
  Put(b, lap + 5, {0x05, 0, 0, 150, 0, 0x04, 0x10, 0x27, 0xF6, 0x2C, 0x01, 0x02});
  b[lap + 20] = 0x02;
  // Samples, read from the top: pressure 800 with heart rate 140, then altitude 1040 with 120;
  // then the closing byte, not a sample.
  Put(b, E + 94, {0x78, 0x10, 0x04, 0x8C, 0x20, 0x83, 0xEE});
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
  int32_t S(int32_t channel, int32_t i) { return store().GetSampleValue(0, channel, i); }
};

TEST_F(OutdoorDecoderTest, HeaderLapAndSamples) {
  Load(HandWorkedExercise(), E + 100);
  ASSERT_EQ(Decode(), 1);
  ExpectParams({{9, 20241015}, {10, 351300}, {11, 10000}, {40, 10}, {12, 5}, {36, 0x11}});
  // 96 is 33 / 32 * 60 = 61.875
  ExpectParams({{37, 0x22}, {95, 600}, {96, 62}, {97, 1000}, {98, 100}, {42, 32}, {101, 272}});
  ExpectParams({{82, -1760}, {99, 250}, {39, 0x1234}, {102, 258}, {100, 7}, {14, 100}, {13, 180}});
  ExpectParams({{16, 0}, {15, 0}, {18, 140}, {17, 240}, {71, 750}, {75, 36000}, {80, 12345}});
  ExpectParams({{91, 12345}, {147, 0}, {7, 32}, {83, 3}});
  ExpectFlags({{6, 1}, {21, 1}, {9, 1}, {3, 1}, {13, 1}, {14, 1}, {20, 1}});
  ASSERT_EQ(store().GetLapCount(0), 1);
  // Field 603 stays 0: kind 5 is a limit swap, not a kind of lap.
  ExpectLap(0, {{601, 50}, {603, 0}, {607, 150}, {615, 256}, {646, 875}, {621, -100}});
  ExpectLap(0, {{636, 300}, {637, 2}});
  ASSERT_EQ(store().GetLimitSwapCount(0), 1);
  int32_t time = 0;
  int32_t set = 0;
  ASSERT_EQ(store().GetLimitSwap(0, 0, &time, &set), 1);
  EXPECT_EQ(time, 50);
  EXPECT_EQ(set, 2);
  ASSERT_EQ(store().GetSampleCount(0), 2);
  EXPECT_EQ(S(1, 0), 140);
  EXPECT_EQ(S(9, 0), 300);   // 800 / 16 + 250
  EXPECT_EQ(S(4, 0), -768);  // no altitude yet
  EXPECT_EQ(S(1, 1), 120);
  EXPECT_EQ(S(4, 1), 272);
  EXPECT_EQ(S(9, 1), 300);  // the pressure repeats
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
  Bytes ff;
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

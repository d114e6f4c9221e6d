// The K-series decoder against exercises laid out byte by byte by hand.
#include "exercise/k_series_decoder.h"

#include <map>
#include <random>

#include "exercise/outdoor_decoder.h"
#include "exercise/single_model_decoders.h"
#include "support/exercise_expectations.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

using exercise::ImageMode;
using exercise::MemoryReader;

constexpr int32_t E = 4;
using Bytes = std::map<int32_t, uint8_t>;

// Bytes from a position on.
void Put(Bytes& b, int32_t from, std::initializer_list<uint8_t> values) {
  for (const uint8_t v : values)
    b[from++] = v;
}

// Type 11: 78-byte header, one 6-byte lap, three one-byte samples.
Bytes Type11() {
  Bytes b;
  b[E + 1] = 88;
  // From 11: start 12:15:30 AM on a 12-hour clock (-> 00:15:30); 12-hour clock and day 17; 1995;
  // three tenths and June; at 18 the duration 00:01:00; 20 and 21; at 22 one lap.
  Put(b, E + 11, {0x30, 0x15, 0x12, 0x97, 0x95, 0x36, 0, 0x01, 0, 10, 11, 0x01});
  // From 26: imperial with limit sets 1 and 3; 60 s; at 29 the limits, set 2 absent; at 35 2:45;
  // at 39 the first zone time 00:02:00.
  Put(b, E + 26, {0x52, 0x02, 0, 120, 160, 0x11, 0x12, 130, 140, 0x45, 0x02, 0x33, 0, 0x02});
  Put(b, E + 70, {0x70, 0x45, 0x12});  // 12457
  // The lap from 79: 30 s and tenths 2 (low) + 1 x 4 (high) -> 30.6 s; then the samples, read
  // from the top (87 down).
  Put(b, E + 79, {0x9E, 0x40, 0, 140, 130, 150, 120, 110, 100});
  return b;
}

// Type 13 with R-R recording: 121-byte header, no laps, six bytes skipped, deltas.
Bytes Type13Rr() {
  Bytes b;
  b[E + 1] = 134;
  Put(b, E + 14, {0x01, 0x26, 0x01});  // 2026-01-01
  b[E + 27] = 0x03;
  // From the top: +(5 x 128 + 16) = 656 at 133 .. 131, +10, -10, and at 128 a byte too close to
  // the sample start to be read.
  Put(b, E + 128, {0x33, 0xF6, 0x0A, 0x05, 0x10, 0x80});
  return b;
}

// Type 22 with speed and altitude, extended laps: 120-byte header, one 20-byte lap, two 4-byte
// samples.
Bytes Type22() {
  Bytes b;
  b[E + 1] = 149;
  Put(b, E + 14, {0x01, 0x26, 0x01});  // 2026-01-01
  b[E + 18] = 0x10;                    // 00:10:00
  b[E + 22] = 0x01;
  // From 26: extended laps, limit set 1, metric; speed code 1, altitude; 5 s; the limits.
  Put(b, E + 26, {0x90, 0x12, 0x00, 0, 100, 150});
  b[E + 67] = 0x02;  // starts in limit set 1
  // From 88 the summary: at 93 +16, at 95 -5, at 97 +0, at 99 +5, at 100 -5.
  Put(b, E + 88, {0x40, 0x21, 0x03, 0, 0, 0x10, 0x80, 0x05, 0, 0x00, 0x80, 0x85, 0x05});
  Put(b, E + 110, {80, 90, 0x05});
  const int32_t lap = E + 121;
  // 00:01:05.0; heart rates; at 6 altitude 600; at 10 the temperature; at 11 2.5 km; at 18 the
  // swap marker.
  Put(b, lap,
      {0x05, 0x01, 0, 145, 140, 155, 0x58, 0x02, 0x07, 0, 30, 0x19, 0, 80, 0x13, 0x02, 0x30, 0x01,
       0xFE});
  // The samples, read from the top: at 148 speed low, at 147 speed high bits 1 and altitude high
  // 1, at 146 altitude 300; at 143 altitude 512; at 141 a swap marker to set 1.
  Put(b, E + 141, {252, 0x00, 0x02, 0x10, 130, 0x2C, 0x21, 0x40});
  return b;
}

class KSeriesDecoderTest : public quibra::testing::ExerciseMemoryTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  }
  exercise::ExerciseStore& store() { return m().exercise_store; }
  int32_t Decode(int32_t type) {
    return exercise::DecodeKSeriesExercise(MemoryReader(m().exercise_memory), store(), type, 0,
                                           ImageMode::kSingleExercise);
  }
  int32_t P(int32_t id) { return store().GetExerciseParam(0, id); }
  int32_t S(int32_t channel, int32_t i) { return store().GetSampleValue(0, channel, i); }
  std::pair<int32_t, int32_t> Swap(int32_t i) {
    int32_t time = -1;
    int32_t set = -1;
    EXPECT_EQ(store().GetLimitSwap(0, i, &time, &set), 1);
    return {time, set};
  }
};

TEST_F(KSeriesDecoderTest, Type11HeaderLapAndSamples) {
  Load(Type11(), E + 87);
  ASSERT_EQ(Decode(11), 1);
  ExpectParams({{10, 9300}, {9, 19950617}, {11, 60300}, {40, 60}, {36, 10}, {37, 11}, {8, 1}});
  ExpectParams({{12, 60}, {14, 120}, {13, 160}, {16, 0}, {18, 130}, {17, 140}, {47, 1650}});
  ExpectParams({{48, 0x33}, {71, 1200}, {80, 12457}, {91, 12457}, {83, 1}, {7, 16}, {147, 0}});
  ExpectFlags({{6, 1}, {21, 1}, {3, 0}, {13, 1}});

  ASSERT_EQ(store().GetLapCount(0), 1);
  ExpectLap(0, {{601, 306}, {607, 140}, {609, 130}, {610, 150}});

  ASSERT_EQ(store().GetSampleCount(0), 3);
  EXPECT_EQ(S(1, 0), 100);
  EXPECT_EQ(S(1, 1), 110);
  EXPECT_EQ(S(1, 2), 120);
}

TEST_F(KSeriesDecoderTest, RrDeltasBecomeMilliseconds) {
  Load(Type13Rr(), E + 133);
  ASSERT_EQ(Decode(13), 1);
  ExpectParams({{12, 238}, {5, 13}});
  ASSERT_EQ(store().GetSampleCount(0), 3);
  EXPECT_EQ(S(1, 0), 641);  // 656 / 1.024 = 640.6
  EXPECT_EQ(S(1, 1), 650);  // 666 / 1.024 = 650.4
  EXPECT_EQ(S(1, 2), 641);
  ExpectParams({{11, 641 + 650 + 641}, {40, 1}});
}

TEST_F(KSeriesDecoderTest, Type22SummaryExtendedLapAndSwapMarkers) {
  Load(Type22(), E + 148);
  ASSERT_EQ(Decode(22), 1);
  // 43 is 320 / 1.6
  ExpectParams({{11, 600000}, {14, 100}, {13, 150}, {20, 80}, {19, 90}, {68, 50}, {43, 200}});
  // 44 is 50 / 1.6
  ExpectParams({{44, 31}, {101, 16}, {41, -5}, {42, 0}, {99, 50}, {81, -50}, {7, 32}, {147, 1}});
  EXPECT_EQ(P(83), 2);
  ExpectFlags({{8, 1}, {9, 1}, {10, 0}, {3, 1}, {12, 1}});

  ASSERT_EQ(store().GetLapCount(0), 1);
  // 611 is (80 + 16 x 16) / 1.6
  ExpectLap(0, {{601, 650}, {607, 145}, {615, 88}, {636, 7}, {621, 200}, {604, 2500}, {611, 210}});
  ExpectLap(0, {{624, 23}, {645, 254 * 256}, {603, 0}});

  ASSERT_EQ(store().GetSampleCount(0), 2);
  EXPECT_EQ(S(1, 0), 130);
  EXPECT_EQ(S(2, 0), 200);
  EXPECT_EQ(S(4, 0), -212);
  EXPECT_EQ(S(1, 1), 130);  // the marker repeats the previous heart rate
  EXPECT_EQ(S(2, 1), 10);
  EXPECT_EQ(S(4, 1), 0);

  // Header start set, then the lap marker (1 -> 0 without a third set), then the sample marker.
  ASSERT_EQ(store().GetLimitSwapCount(0), 3);
  EXPECT_EQ(Swap(0), std::make_pair(0, 1));
  EXPECT_EQ(Swap(1), std::make_pair(650, 0));
  EXPECT_EQ(Swap(2), std::make_pair(100, 1));
}

TEST_F(KSeriesDecoderTest, PercentLimitsUseTheMaximumHeartRate) {
  auto bytes = Type22();
  bytes[E + 28] = 0x10;  // limits in percent
  bytes[E + 130] = 190;
  Load(bytes, E + 148);
  ASSERT_EQ(Decode(22), 1);
  ExpectParams({{14, 190}, {13, 285}, {20, 152}});  // 14 is 100 %; 13 is 150 %
  bytes[E + 130] = 20;  // not a usable maximum: a single exercise falls back to 200
  Load(bytes, E + 148);
  ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  ASSERT_EQ(Decode(22), 1);
  EXPECT_EQ(P(14), 200);
}

// Random images never make a decoder read outside the buffer or fail to return.
TEST_F(KSeriesDecoderTest, ArbitraryImagesAreSafe) {
  std::mt19937 random(12345);
  for (int32_t round = 0; round < 300; ++round) {
    Bytes bytes;
    const int32_t count = 1 + static_cast<int32_t>(random() % 700);
    for (int32_t pos = 1; pos <= count; ++pos)
      bytes[pos] = static_cast<uint8_t>(random());
    if (round % 2 == 0) {  // a plausible length so the decoders go deep
      bytes[E + 1] = static_cast<uint8_t>(count - E + 1);
      bytes[E + 2] = static_cast<uint8_t>((count - E + 1) >> 8);
    }
    Load(bytes, count);
    for (int32_t type : {11, 12, 13, 15, 20, 21, 22, 23, 30, 31, 32}) {
      for (auto mode : {ImageMode::kSingleExercise, ImageMode::kWholeMemory}) {
        ASSERT_EQ(store().ResetExerciseRecord(0), 1);
        const MemoryReader reader(m().exercise_memory);
        int32_t result = 0;
        if (type == 20 || type == 21) {
          result = exercise::DecodeOutdoorExercise(reader, store(), type, 0, mode);
        } else if (type == 30) {
          result = exercise::DecodeType30Exercise(reader, store(), type, 0, mode);
        } else if (type == 31) {
          result = exercise::DecodeType31Exercise(reader, store(), type, 1, mode);
        } else if (type == 32) {
          result = exercise::DecodeType32Exercise(reader, store(), type, 0, mode);
        } else {
          result = exercise::DecodeKSeriesExercise(reader, store(), type, 0, mode);
        }
        EXPECT_TRUE(result == 0 || result == 1);
        EXPECT_LE(store().GetSampleCount(0), count);
      }
    }
  }
}

}  // namespace
}  // namespace quibra::testing

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

// Type 11: 78-byte header, one 6-byte lap, three one-byte samples.
Bytes Type11() {
  Bytes b;
  b[E + 1] = 88;
  b[E + 11] = 0x30;  // start 12:15:30 AM on a 12-hour clock -> 00:15:30
  b[E + 12] = 0x15;
  b[E + 13] = 0x12;
  b[E + 14] = 0x97;  // 12-hour clock, day 17
  b[E + 15] = 0x95;  // 1995
  b[E + 16] = 0x36;  // three tenths, June
  b[E + 18] = 0x01;  // duration 00:01:00
  b[E + 20] = 10;
  b[E + 21] = 11;
  b[E + 22] = 0x01;  // one lap
  b[E + 26] = 0x52;  // imperial, limit sets 1 and 3
  b[E + 27] = 0x02;  // 60 s
  b[E + 29] = 120;
  b[E + 30] = 160;
  b[E + 31] = 0x11;  // set 2, absent
  b[E + 32] = 0x12;
  b[E + 33] = 130;
  b[E + 34] = 140;
  b[E + 35] = 0x45;  // 2:45
  b[E + 36] = 0x02;
  b[E + 37] = 0x33;
  b[E + 39] = 0x02;  // first zone time 00:02:00
  b[E + 70] = 0x70;  // 12457
  b[E + 71] = 0x45;
  b[E + 72] = 0x12;
  b[E + 79] = 0x9E;  // lap: 30 s and tenths 2 (low) + 1 x 4 (high) -> 30.6 s
  b[E + 80] = 0x40;
  b[E + 82] = 140;
  b[E + 83] = 130;
  b[E + 84] = 150;
  b[E + 87] = 100;  // samples from the top
  b[E + 86] = 110;
  b[E + 85] = 120;
  return b;
}

// Type 13 with R-R recording: 121-byte header, no laps, six bytes skipped, deltas.
Bytes Type13Rr() {
  Bytes b;
  b[E + 1] = 134;
  b[E + 27] = 0x03;
  b[E + 133] = 0x80;  // +(5 x 128 + 16) = 656
  b[E + 132] = 0x10;
  b[E + 131] = 0x05;
  b[E + 130] = 0x0A;  // +10
  b[E + 129] = 0xF6;  // -10
  b[E + 128] = 0x33;  // too close to the sample start to be read
  return b;
}

// Type 22 with speed and altitude, extended laps: 120-byte header, one 20-byte lap, two 4-byte
// samples.
Bytes Type22() {
  Bytes b;
  b[E + 1] = 149;
  b[E + 18] = 0x10;  // 00:10:00
  b[E + 22] = 0x01;
  b[E + 26] = 0x90;  // extended laps, limit set 1, metric
  b[E + 27] = 0x12;  // speed code 1, altitude
  b[E + 28] = 0x00;  // 5 s
  b[E + 30] = 100;
  b[E + 31] = 150;
  b[E + 67] = 0x02;  // starts in limit set 1
  b[E + 88] = 0x40;
  b[E + 89] = 0x21;
  b[E + 90] = 0x03;
  b[E + 93] = 0x10;  // +16
  b[E + 94] = 0x80;
  b[E + 95] = 0x05;  // -5
  b[E + 97] = 0x00;  // +0
  b[E + 98] = 0x80;
  b[E + 99] = 0x85;   // +5
  b[E + 100] = 0x05;  // -5
  b[E + 110] = 80;
  b[E + 111] = 90;
  b[E + 112] = 0x05;
  const int32_t lap = E + 121;
  b[lap + 0] = 0x05;  // 00:01:05.0
  b[lap + 1] = 0x01;
  b[lap + 3] = 145;
  b[lap + 4] = 140;
  b[lap + 5] = 155;
  b[lap + 6] = 0x58;  // altitude 600
  b[lap + 7] = 0x02;
  b[lap + 8] = 0x07;
  b[lap + 10] = 30;    // temperature
  b[lap + 11] = 0x19;  // 2.5 km
  b[lap + 13] = 80;
  b[lap + 14] = 0x13;
  b[lap + 15] = 0x02;
  b[lap + 16] = 0x30;
  b[lap + 17] = 0x01;
  b[lap + 18] = 0xFE;  // swap marker
  b[E + 148] = 0x40;   // speed low
  b[E + 147] = 0x21;   // speed high bits 1, altitude high 1
  b[E + 146] = 0x2C;   // altitude 300
  b[E + 145] = 130;
  b[E + 144] = 0x10;
  b[E + 143] = 0x02;  // altitude 512
  b[E + 142] = 0x00;
  b[E + 141] = 252;  // swap marker to set 1
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
  int32_t F(int32_t id) { return store().GetExerciseFlag(0, id); }
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
  ExpectParams({{48, 0x33}, {71, 1200}, {80, 12457}, {91, 12457}, {83, 1}, {7, 16}});
  ExpectFlags({{6, 1}, {21, 1}, {3, 0}});

  ASSERT_EQ(store().GetLapCount(0), 1);
  EXPECT_EQ(F(13), 1);
  ExpectLap(0, {{601, 306}, {607, 140}, {609, 130}, {610, 150}});

  ASSERT_EQ(store().GetSampleCount(0), 3);
  EXPECT_EQ(S(1, 0), 100);
  EXPECT_EQ(S(1, 1), 110);
  EXPECT_EQ(S(1, 2), 120);
  EXPECT_EQ(P(147), 0);
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
  ExpectParams({{44, 31}, {101, 16}, {41, -5}, {42, 0}, {99, 50}, {81, -50}, {7, 32}});
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
  EXPECT_EQ(P(147), 1);

  // Header start set, then the lap marker (1 -> 0 without a third set), then the sample marker.
  ASSERT_EQ(store().GetLimitSwapCount(0), 3);
  EXPECT_EQ(Swap(0), std::make_pair(0, 1));
  EXPECT_EQ(Swap(1), std::make_pair(650, 0));
  EXPECT_EQ(Swap(2), std::make_pair(100, 1));
  EXPECT_EQ(P(83), 2);
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

// The analysis of a sound download against exercises laid out byte by byte by hand, read back
// through the getter exports as an application reads them.
#include <initializer_list>
#include <map>

#include "quibra/quibra.h"
#include "support/exercise_expectations.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

using Bytes = std::map<int32_t, uint8_t>;

constexpr int32_t kSwapTime = 900;
constexpr int32_t kSwapSet = 901;
constexpr uint8_t kBlockHeaderByte = 0xEE;  // what a wrongly placed read would pick up

// Bytes from a position on.
void Put(Bytes& b, int32_t from, std::initializer_list<uint8_t> values) {
  for (const uint8_t v : values)
    b[from++] = v;
}

class TonvoxAnalysisTest : public ExerciseMemoryTest {
 protected:
  // Loads the bytes (the highest position given is the last one received) and analyses them.
  int32_t Analyze(const Bytes& bytes, int32_t monitor_type) {
    Load(bytes, bytes.rbegin()->first);
    return fnQuibra_AnalyzeTonvoxFile(monitor_type, 0, 0);
  }
  static int32_t Sample(int32_t channel, int32_t index) {
    return fnQuibra_GetHRMSamples(channel, index);
  }
};

// Type 9: no channel byte, so every summary position is unshifted and the samples start at 93.
// A 12-hour clock at 1 PM, the year 95 of the previous century, three samples and one short lap.
Bytes Type9Exercise() {
  Bytes b;
  b[10] = 3;                             // three heart-rate bytes
  b[11] = 0x02;                          // 15 s x 4
  Put(b, 20, {0x30, 0x15, 0x81, 0x97});  // 1:15:30 PM, 12-hour clock, day 17
  Put(b, 24, {0x95, 0x36});              // 1995, June; 3 tenths
  Put(b, 26, {0x05, 0x02, 0x01});        // duration 1:02:05.3
  Put(b, 29, {11, 22, 0x01});            // one lap
  b[35] = 0x06;                          // imperial, lap mode follows
  b[36] = 0x20;                          // lap mode 2
  Put(b, 37, {150, 120, 160, 130, 170, 140});
  Put(b, 43, {0x45, 0x02, 77});    // recovery 2:45
  Put(b, 46, {0x10, 0x20, 0x01});  // first zone time 1:20:10
  Put(b, 67, {0x05, 0x04, 0x02});  // eighth 2:04:05, its hours in line
  Put(b, 70, {0x11, 0x11, 0x11});  // unused
  Put(b, 73, {0x59, 0x59, 0x00});  // ninth 0:59:59
  Put(b, 81, {0x57, 0x34, 0x12});  // total 12345.7
  Put(b, 93, {100, 110, 120});
  Put(b, 96, {0x10, 0x10, 0x10});  // block header; a trip word on type 10
  // The lap: 30 s with tenths 2 (low bits) + 1 x 4 (high bits), 1 min, 0 h -> 90.6 s.
  Put(b, 99, {0x9E, 0x41, 0x00, 140, 130, 150});
  return b;
}

TEST_F(TonvoxAnalysisTest, Type9SummarySamplesAndShortLap) {
  ASSERT_EQ(Analyze(Type9Exercise(), 9), 1);
  // 10 is 13:15:30
  ExpectParams({{5, 9}, {12, 60}, {10, 477300}, {9, 19950617}, {11, 3725300}, {36, 11}, {37, 22}});
  ExpectParams({{8, 1}, {14, 150}, {13, 120}, {16, 160}, {15, 130}, {18, 170}, {17, 140}});
  ExpectParams({{47, 1650}, {48, 77}, {71, 48100}, {76, 74450}, {75, 35990}, {80, 12345}});
  ExpectParams({{91, 12345}, {7, 0}});
  // Only the units with a channel byte send the trip summary and parameter 40.
  ExpectParams({{38, 0}, {43, 0}, {40, 0}});
  ExpectFlags({{21, 1}, {3, 0}, {8, 0}, {10, 0}, {12, 0}, {13, 1}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 4);
  EXPECT_EQ(Sample(1, 0), 100);
  EXPECT_EQ(Sample(1, 1), 100);
  EXPECT_EQ(Sample(1, 2), 110);
  EXPECT_EQ(Sample(1, 3), 120);
  ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 1);
  ExpectLap(0, {{601, 906}, {607, 140}, {609, 130}, {610, 150}, {625, 4}, {603, 0}, {604, 0}});
  // Other unit types leave the exercise alone.
  EXPECT_EQ(fnQuibra_AnalyzeTonvoxFile(30, 0, 0), 0);
  EXPECT_EQ(fnQuibra_AnalyzeTonvoxFile(11, 0, 0), 0);
  ExpectParams({{5, 9}, {9, 19950617}});
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 4);
  EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 1);
}

// Type 10 with speed and third channel, N = 60 (one piece per area) and long imperial laps
// whose sixth record runs across a block header.
Bytes Type10Exercise() {
  Bytes b;
  b[10] = 60;
  b[11] = 0x01;                          // 30 s
  Put(b, 20, {0x00, 0x30, 0x88, 0x05});  // PM bit on a 24-hour clock, day 5
  Put(b, 24, {0x05, 0x0B});              // 2005, November
  Put(b, 26, {0x00, 0x10, 0x00});        // 10 min
  b[31] = 0x06;
  b[35] = 0x86;  // long laps, lap mode, imperial
  b[36] = 0x14;  // speed source 1, third channel
  b[37] = 0x10;  // lap mode 1
  Put(b, 38, {150, 120, 160, 130, 170, 140});
  Put(b, 44, {0x45, 0x02, 77});
  Put(b, 47, {0x10, 0x20, 0x01});
  // The eighth duration keeps its hours at 73; 70..72 are unused.
  Put(b, 68, {0x05, 0x04, 0x11, 0x11, 0x11, 0x02});
  Put(b, 74, {0x59, 0x59, 0x00});
  Put(b, 82, {0x57, 0x34, 0x12});
  Put(b, 94, {0x56, 0x34, 0x12});              // trip counter 123456
  Put(b, 97, {0x34, 0x12, 0x04, 0x53, 0x01});  // 4660; 772 and 21 steps
  Put(b, 102, {90, 95});
  for (int32_t j = 0; j < 60; ++j) {
    b[107 + j] = static_cast<uint8_t>(60 + j);
    b[170 + j] = static_cast<uint8_t>(j + 1);
    b[233 + j] = static_cast<uint8_t>(200 - j);
  }
  for (const int32_t header : {167, 230, 293})
    Put(b, header, {kBlockHeaderByte, kBlockHeaderByte, kBlockHeaderByte});
  // Laps of 16 bytes from 296 = 107 + 3 x 63.
  Put(b, 296, {0x00, 0x01, 0x00, 150, 140, 160, 0x7B, 0x00, 85, 0x10, 0x21});
  Put(b, 308, {0x30, 0x01, 170, 0x05});  // 1:30 measured, heart rate 170
  Put(b, 312, {0x00, 0x02});             // 2:00
  Put(b, 324, {0x15, 0x00, 252, 0x00});  // measured 15 s, no heart rate
  Put(b, 328, {0x00, 0x03});             // 3:00
  Put(b, 340, {0x11, 0x01, 254, 0x00});  // limit-set change
  Put(b, 344, {0x05, 0x04, 0x00, 133});  // 4:05, then the block header
  Put(b, 356, {kBlockHeaderByte, kBlockHeaderByte, kBlockHeaderByte});
  Put(b, 359, {0x30, 0x00, 100, 0x07});
  Put(b, 363, {0x00, 0x05});  // 5:00
  b[377] = 254;
  Put(b, 379, {0x00, 0x14});  // 20:00, past the end of the exercise
  b[393] = 254;
  return b;
}

TEST_F(TonvoxAnalysisTest, Type10ShiftedSummarySixtySamplesAndLongImperialLaps) {
  ASSERT_EQ(Analyze(Type10Exercise(), 10), 1);
  // Start 8:30: the PM bit alone changes nothing. Parameter 43 is 772 / 1.6f = 482.49999...
  ExpectParams({{5, 10},     {12, 30},    {10, 306000}, {9, 20051105}, {11, 600000}, {40, 600},
                {8, 1},      {7, 32},     {14, 150},    {17, 140},     {47, 1650},   {48, 77},
                {71, 48100}, {76, 74450}, {75, 35990},  {80, 12345},   {91, 12345},  {45, 123456},
                {38, 4660},  {43, 482},   {44, 13},     {103, 90},     {104, 95}});
  ExpectFlags({{21, 1}, {3, 1}, {8, 1}, {10, 1}, {12, 1}, {13, 1}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 61);
  for (const int32_t index : {0, 1}) {
    EXPECT_EQ(Sample(1, index), 60);
    EXPECT_EQ(Sample(2, index), 5);
    EXPECT_EQ(Sample(3, index), 200);
  }
  EXPECT_EQ(Sample(1, 2), 61);
  EXPECT_EQ(Sample(2, 2), 10);
  EXPECT_EQ(Sample(3, 2), 199);
  EXPECT_EQ(Sample(1, 60), 119);
  EXPECT_EQ(Sample(2, 60), 300);
  EXPECT_EQ(Sample(3, 60), 141);
  // The sixth lap lies past the end of the exercise: the store refuses it, and its marker 254
  // changes nothing.
  ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 5);
  // 604 is 12.3 miles in yards
  ExpectLap(0, {{601, 600}, {607, 150}, {609, 140}, {610, 160}, {604, 21648}, {613, 85}});
  // 611 is 272 steps
  ExpectLap(0, {{611, 170}, {603, 1}, {626, 90}, {627, 170}, {645, 170 * 256 + 5}, {625, 2}});
  ExpectLap(1, {{601, 1200}, {603, 1}, {626, 15}, {627, 0}, {645, 252 * 256}, {625, 2}});
  ExpectLap(2, {{601, 1800}, {603, 0}, {626, 0}, {627, 0}, {645, 254 * 256}});
  ExpectLap(3, {{601, 2450}, {607, 133}, {603, 1}, {626, 30}, {627, 100}, {645, 100 * 256 + 7}});
  ExpectLap(4, {{601, 3000}, {645, 254 * 256}});
  ASSERT_EQ(fnQuibra_GetNbrOfSwapTimes(), 2);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(0, kSwapTime), 1800);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(0, kSwapSet), 1);
  // Without a third limit set the unit goes from set 1 back to 0.
  EXPECT_EQ(fnQuibra_GetLimitSwapData(1, kSwapTime), 3000);
  EXPECT_EQ(fnQuibra_GetLimitSwapData(1, kSwapSet), 0);
  ExpectParams({{83, 2}});
  ExpectFlags({{14, 1}});
}

// Type 6 with 120 samples (two pieces per area), speed only, one short metric lap.
Bytes Type6FullRecording() {
  Bytes b;
  b[10] = 120;
  b[11] = 0x03;                          // 120 s, halved for 120 samples
  Put(b, 20, {0x00, 0x00, 0x12, 0x81});  // 12:00:00 AM, day 1
  Put(b, 24, {0x00, 0x01});              // 2000, January
  b[28] = 0x12;                          // 12 h
  b[31] = 0x01;
  b[36] = 0x20;  // speed source 2
  b[37] = 0x10;  // a lap mode, but option bit 2 says there is none
  for (int32_t j = 0; j < 120; ++j) {
    const int32_t past_header = j >= 60 ? 3 : 0;
    b[107 + j + past_header] = static_cast<uint8_t>(40 + j);
    b[233 + j + past_header] = static_cast<uint8_t>(j + 1);
  }
  for (const int32_t header : {167, 293})
    Put(b, header, {kBlockHeaderByte, kBlockHeaderByte, kBlockHeaderByte});
  // Laps from 359 = 107 + 2 x 126; hours 0x10 are BCD for 10 h.
  Put(b, 359, {0x00, 0x00, 0x10, 120, 110, 130, 0x7B, 0x00, 99, 0x04, 0x00});
  return b;
}

TEST_F(TonvoxAnalysisTest, FullRecordingAndAShortMetricLap) {
  ASSERT_EQ(Analyze(Type6FullRecording(), 6), 1);
  ExpectParams({{12, 60}, {10, 0}, {9, 20000101}, {11, 43200000}, {7, 32}, {8, 0}});
  ExpectFlags({{3, 1}, {8, 1}, {10, 0}, {12, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 121);
  EXPECT_EQ(Sample(1, 60), 99);
  EXPECT_EQ(Sample(2, 60), 300);
  EXPECT_EQ(Sample(1, 61), 100);
  EXPECT_EQ(Sample(2, 61), 305);
  EXPECT_EQ(Sample(1, 120), 159);
  EXPECT_EQ(Sample(2, 120), 600);
  EXPECT_EQ(Sample(3, 61), 0);
  ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 1);
  ExpectLap(0, {{601, 360000}, {607, 120}, {609, 110}, {610, 130}, {604, 12300}, {613, 0}});
  // 611 is 4 steps: 2.4999... in single precision
  ExpectLap(0, {{611, 2}, {625, 0}, {603, 0}, {645, 0}});
}

TEST_F(TonvoxAnalysisTest, NoSamplesPutTheLapsAtTheSampleArea) {
  Bytes b;
  b[27] = 0x01;  // 1 min
  b[31] = 0x01;
  b[36] = 0x34;  // speed source 3: no speed; third channel flagged
  Put(b, 107, {0x0A, 0x00, 0x00, 140, 0, 0, 0, 0, 0, 0, 0});
  ASSERT_EQ(Analyze(b, 10), 1);
  ExpectFlags({{3, 0}, {8, 0}, {10, 1}, {13, 1}});
  ExpectParams({{7, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 1);
  EXPECT_EQ(Sample(1, 0), 0x0A);
  ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 1);
  ExpectLap(0, {{601, 100}, {607, 140}});
}

}  // namespace
}  // namespace quibra::testing

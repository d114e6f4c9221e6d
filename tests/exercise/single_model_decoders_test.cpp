// The decoders of the summary-only units (types 30, 31, 32) on hand-laid images.
#include "exercise/single_model_decoders.h"

#include <map>

#include "support/exercise_expectations.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

using exercise::ImageMode;
using exercise::MemoryReader;
using Bytes = std::map<int32_t, uint8_t>;

class SingleModelDecoderTest : public quibra::testing::ExerciseMemoryTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_EQ(store().ResetExerciseRecord(0), 1);
  }
  exercise::ExerciseStore& store() { return m().exercise_store; }
  MemoryReader Reader() { return MemoryReader(m().exercise_memory); }
  int32_t P(int32_t id) { return store().GetExerciseParam(0, id); }
};

TEST_F(SingleModelDecoderTest, Type30SummaryAndLapsOldestFirst) {
  // Records of 12 bytes from 135: record 0 (the newest) lasts 2:30.0, record 1 1:05.0.
  Bytes b = {{31, 0x09},  {33, 0x4F},  {34, 0x31},  {36, 0x30},  {37, 0x08}, {38, 0x0A},
             {39, 0x05},  {40, 0x01},  {44, 0xD2},  {45, 0x04},  {46, 140},  {63, 0x10},
             {123, 0xF4}, {124, 0x01}, {125, 0x2C}, {126, 0x01}, {128, 2},   {133, 7},
             {135, 0x1E}, {136, 0x02}, {147, 0x05}, {148, 0x01}, {150, 150}, {153, 3},
             {155, 100},  {157, 32}};
  Load(b, 158);
  ASSERT_EQ(exercise::DecodeType30Exercise(Reader(), store(), 30, 0, ImageMode::kSingleExercise),
            1);
  ExpectParams({{132, 1}, {131, 0}, {133, 1}, {9, 20241015}, {10, 306000}, {11, 3910000}});
  // 43 is 5000 / (3910 / 3600)
  ExpectParams({{40, 3910}, {80, 1234}, {91, 1234}, {14, 140}, {71, 6000}, {38, 5000}, {43, 4603}});
  ExpectParams({{130, 300}, {44, 12}, {135, 7}});
  ExpectFlags({{8, 1}, {21, 1}});
  ASSERT_EQ(store().GetLapCount(0), 2);
  ExpectLap(0, {{601, 650}, {607, 150}, {649, 3}, {604, 1000}, {612, 32}, {659, 1}});
  ExpectLap(1, {{601, 1500}, {659, 2}});
}

// 655350 per 1 s would be 2.36e9 per hour: held at the largest 32-bit value.
TEST_F(SingleModelDecoderTest, Type30RateOfAOneSecondExerciseStaysInRange) {
  Load({{33, 0x4F}, {34, 0x31}, {38, 0x01}, {123, 0xFF}, {124, 0xFF}}, 134);
  ASSERT_EQ(exercise::DecodeType30Exercise(Reader(), store(), 30, 0, ImageMode::kSingleExercise),
            1);
  ExpectParams({{40, 1}, {43, INT32_MAX}});
  EXPECT_EQ(store().GetLapCount(0), 0);
}

TEST_F(SingleModelDecoderTest, Type31ChainsExercisesByTheirLapCounts) {
  const int32_t b = 159;  // exercise 0 at 103 has one lap: 44 + 12 bytes
  Bytes bytes = {{8, 0x20},      {103 + 31, 1},    {103 + 2, 0x99},  {b + 1, 0x0D},
                 {b + 2, 0x50},  {103 + 33, 0x4F}, {103 + 34, 0x31}, {b + 3, 0x20},
                 {b + 4, 0x01},  {b + 17, 0x10},   {b + 33, 0x4F},   {b + 34, 0x31},
                 {b + 37, 0x07}, {b + 39, 150},    {b + 31, 1},      {b + 45, 2},
                 {b + 46, 0x1E}, {b + 49, 155},    {b + 51, 0x20},   {b + 52, 0x01},
                 {b + 55, 0x05}};
  Load(bytes, b + 56);
  ASSERT_EQ(exercise::DecodeType31Exercise(Reader(), store(), 31, 1, ImageMode::kSingleExercise),
            1);
  ExpectParams({{131, 1}, {133, 1}, {8, 1}, {11, 80500}, {40, 80}, {80, 16}, {9, 20241015}});
  ExpectParams({{10, 252000}, {14, 150}, {83, 1}});
  ASSERT_EQ(store().GetLapCount(0), 1);
  ExpectLap(0, {{648, 3}, {653, 2}, {601, 300}, {607, 155}, {611, 288}, {604, 500}, {659, 1}});
}

TEST_F(SingleModelDecoderTest, Type32RecordsOf37Bytes) {
  const int32_t b = 359 + 37;
  Bytes bytes = {{b, 0x2A},      {b + 1, 15},    {b + 2, 10},   {b + 3, 95},
                 {b + 5, 0x15},  {b + 6, 0x10},  {b + 7, 0x30}, {b + 26, 0x39},
                 {b + 27, 0x30}, {b + 33, 0x10}, {b + 36, 90}};
  Load(bytes, b + 36);
  ASSERT_EQ(exercise::DecodeType32Exercise(Reader(), store(), 32, 1, ImageMode::kSingleExercise),
            1);
  ExpectFlags({{8, 0}, {10, 0}, {9, 1}, {21, 1}});
  ExpectParams({{132, 2}, {8, 1}, {131, 1}, {133, 1}, {9, 19951015}, {10, 369000}, {11, 30000}});
  ExpectParams({{40, 30}, {80, 12345}, {43, 16}, {103, 90}});
  // Hours keep all their BCD digits: 0x85 is 85 hours, not 5.
  bytes[b + 9] = 0x85;
  Load(bytes, b + 36);
  ASSERT_EQ(exercise::DecodeType32Exercise(Reader(), store(), 32, 1, ImageMode::kSingleExercise),
            1);
  EXPECT_EQ(P(11), (85 * 3600 + 30) * 1000);
  EXPECT_EQ(exercise::DecodeType32Exercise(Reader(), store(), 32, 2, ImageMode::kSingleExercise),
            0);
  EXPECT_EQ(exercise::DecodeType32Exercise(Reader(), store(), 32, -1, ImageMode::kSingleExercise),
            0);
}

}  // namespace
}  // namespace quibra::testing

// The J9 unit against the library over a pty: the whole reads and the same reads driven step by
// step give the same images, which the getters then read; a failing block ends a read with 0.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sim/encoders/fitness_encoders.h"
#include "support/comm_params.h"
#include "support/final_status.h"
#include "support/sim_unit_fixture.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;

class J9Unit : public SimUnitTest {
 protected:
  J9Unit() : SimUnitTest(27, 0) {}

  void load(const sim::J9Contents& contents) {
    ASSERT_TRUE(unit_.set_memory(0, sim::J9Memory(contents)));
  }

  static sim::J9Contents Contents() {
    sim::J9Contents c;
    sim::J9Exercise walk;
    walk.name = "WALK";
    walk.year = 2023;
    walk.month = 10;
    walk.day = 4;
    walk.start_seconds = 8 * 3600 + 15 * 60;
    walk.duration_seconds = 3725;
    walk.total = 431;
    walk.byte35 = 128;
    sim::J9Exercise unnamed = walk;
    unnamed.name.clear();
    unnamed.option = 1;
    c.exercises = {walk, unnamed, walk};
    c.fitness_tests = {{2023, 1, 5, 44}, {2023, 6, 7, 46}};
    c.relaxation_tests = {{2023, 2, 1, 12}, {2023, 2, 2, 14}, {2023, 2, 3, 9}};
    for (size_t i = 0; i < c.programme.size(); ++i)
      c.programme[i] = static_cast<uint8_t>(i * 7);
    c.programme[8] = 2;  // the unit's mode byte: the programme is off
    c.user = {154, 0, 180, 0, 40, 182, 50, 66, 15, 6, 80, 3};
    return c;
  }

  // The memory as the library holds it, position 1 first.
  static Bytes Image() {
    Bytes image;
    for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
      image.push_back(static_cast<uint8_t>(fnKx2GetMemtrData(p)));
    return image;
  }

  // One block read as an application sends it.
  static void ReadBlock(int32_t area = 56) {
    ASSERT_EQ(fnQuibra_SendIRComMessage(9008, area), 1);
    ASSERT_EQ(WaitFinalStatus(), 10);
  }
};

TEST_F(J9Unit, WholeReadsAndStepsGiveTheSameImages) {
  load(Contents());
  open();
  CommParams p = LinkParams();

  ASSERT_EQ(fnQuibra_ReadJ9ExerciseFiles(&p), 3);
  const Bytes files = Image();
  EXPECT_EQ(files.size(), 47u + 3 * 43);
  EXPECT_EQ(fnQuibra_ReadJ9ExerciseFiles_fn1(), 1);
  ReadBlock(55);
  ASSERT_EQ(fnQuibra_ReadJ9ExerciseFiles_fn2(), 3);
  for (int32_t n = 0; n < 3; ++n) {
    EXPECT_EQ(fnQuibra_ReadJ9ExerciseFiles_fn3(n), 1024 + 43 * n);
    ReadBlock();
    EXPECT_EQ(fnQuibra_ReadJ9ExerciseFiles_fn4(n), 47 + 43 * (n + 1));
  }
  EXPECT_EQ(Image(), files);

  for (int32_t kind : {0, 1}) {
    const int32_t blocks = kind == 0 ? 4 : 9;
    ASSERT_EQ(fnQuibra_ReadJ9TestResults(&p, kind), blocks);
    const Bytes tests = Image();
    EXPECT_EQ(tests.size(), 8u + (kind == 0 ? 4 * 47 : 9 * 52));
    if (fnQuibra_ReadJ9TestResults_fn0(kind) == 1) ReadBlock();
    ASSERT_EQ(fnQuibra_ReadJ9TestResults_fn1(kind), blocks);
    for (int32_t i = 0; i < blocks; ++i) {
      fnQuibra_ReadJ9TestResults_fn2(kind, i);
      ReadBlock();
      fnQuibra_ReadJ9TestResults_fn3(kind);
    }
    EXPECT_EQ(Image(), tests) << kind;
  }

  ASSERT_EQ(fnQuibra_ReadJ9Program(&p), 4);
  const Bytes programme = Image();
  ASSERT_EQ(programme.size(), 181u);
  EXPECT_EQ(programme[6], 16);
  EXPECT_EQ(programme[180], 255);  // mode byte 2: off
  ASSERT_EQ(fnQuibra_ReadJ9Program_fn1(), 4);
  for (int32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(fnQuibra_ReadJ9Program_fn2(i), 480 + 42 * i);
    ReadBlock();
    fnQuibra_ReadJ9Program_fn3(i);
  }
  fnQuibra_ReadJ9Program_fn4();
  ReadBlock();
  EXPECT_EQ(fnQuibra_ReadJ9Program_fn5(), 181);
  EXPECT_EQ(Image(), programme);

  FitnessUserSettings whole{};
  FitnessUserSettings stepped{};
  ASSERT_EQ(fnQuibra_ReadJ9UserSettings(&p, &whole), 1);
  EXPECT_EQ(fnQuibra_ReadJ9UserSettings_fn1(), 394);
  ReadBlock();
  ASSERT_EQ(fnQuibra_ReadJ9UserSettings_fn2(&stepped), 1);
  EXPECT_EQ(std::memcmp(&whole, &stepped, sizeof whole), 0);
  EXPECT_EQ(whole.WeightLb, 154);
  EXPECT_EQ(whole.WeightKg, 70);
  EXPECT_EQ(whole.BirthDate, 19800615);
  EXPECT_EQ(whole.MaxHR, 182);
  EXPECT_EQ(whole.SecondaryHR, 66);
  EXPECT_EQ(whole.Level, 3);
}

TEST_F(J9Unit, TheGettersReadWhatTheUnitHeld) {
  load(Contents());
  open();
  CommParams p = LinkParams();
  ASSERT_EQ(fnQuibra_ReadJ9ExerciseFiles(&p), 3);
  EXPECT_EQ(fnQuibra_GetFitnessFileCount(), 3);
  EXPECT_EQ(fnQuibra_GetFitnessDataType(), 0);
  char name[9] = {};
  EXPECT_EQ(fnQuibra_GetFitnessExeName(name, 0), 4);
  EXPECT_STREQ(name, "WALK");
  fnQuibra_GetFitnessExeName(name, 1);
  EXPECT_STREQ(name, "Exercise");
  ASSERT_EQ(fnQuibra_AnalyzeFile_Fitness(2), 1);
  EXPECT_EQ(fnQuibra_GetRecParam(9), 20231004);
  EXPECT_EQ(fnQuibra_GetRecParam(10), (8 * 3600 + 15 * 60) * 10);
  EXPECT_EQ(fnQuibra_GetRecParam(11), 3725000);
  EXPECT_EQ(fnQuibra_GetRecParam(80), 431);
  EXPECT_EQ(fnQuibra_GetRecParam(20), 128);

  ASSERT_EQ(fnQuibra_ReadJ9TestResults(&p, 0), 4);
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(1), 20230607);
  EXPECT_EQ(fnQuibra_GetFitnessTestValue(1), 46);
  EXPECT_EQ(fnQuibra_GetFitnessTestDate(2), 0);
  ASSERT_EQ(fnQuibra_ReadJ9TestResults(&p, 1), 9);
  EXPECT_EQ(fnQuibra_GetCalmGaugeTestDate(2), 20230203);
  EXPECT_EQ(fnQuibra_GetCalmGaugeTestValue(2), 9);
  EXPECT_EQ(fnQuibra_GetCalmGaugeTestDate(3), 0);  // beyond the count the unit reported
}

TEST_F(J9Unit, AnEmptyUnitAndABlockThatFails) {
  load(sim::J9Contents{});
  open();
  CommParams p = LinkParams();
  EXPECT_EQ(fnQuibra_ReadJ9ExerciseFiles(&p), 0);
  EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), 47);
  EXPECT_EQ(fnQuibra_GetFitnessFileCount(), 0);

  // A unit that claims more files than its memory has blocks: the read fails at the first
  // block it does not answer.
  Bytes count{30};
  ASSERT_TRUE(unit_.set_memory(sim::kJ9FileCountAt, count));
  EXPECT_EQ(fnQuibra_ReadJ9ExerciseFiles(&p), 0);
  EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), 47 + 26 * 43);
}

}  // namespace
}  // namespace quibra::testing

// Exercises of the summary-only units (types 30, 31, 32) built with the encoders decode through
// fnQuibra_AnalyzeFile to the values they were built from, from both kinds of image.
#include <array>
#include <vector>

#include "quibra/quibra.h"
#include "sim/encoders/summary_encoders.h"
#include "support/exercise_expectations.h"
#include "support/exercise_image.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using sim::ImageKind;

class SummaryRoundTripTest : public ModuleTest {
 protected:
  void Load(const std::vector<uint8_t>& image) { ASSERT_TRUE(LoadExerciseImage(image)); }
  // Decodes from a single-exercise and from a whole-memory image, checking after each.
  template <typename Build, typename Check>
  void BothImages(int32_t type, int32_t index, Build build, Check check) {
    for (ImageKind kind : {ImageKind::kSingleExercise, ImageKind::kWholeMemory}) {
      SCOPED_TRACE(kind == ImageKind::kWholeMemory ? "whole memory" : "single exercise");
      m().unit.type = 0;
      Load(build(kind));
      ASSERT_EQ(fnQuibra_AnalyzeFile(index, kind == ImageKind::kWholeMemory ? 1 : 0), 1);
      EXPECT_EQ(fnQuibra_GetRecParam(5), type);
      EXPECT_EQ(fnQuibra_GetRecFlags(21), 1);
      check();
    }
  }
};

sim::Type30Exercise Type30(bool speed) {
  sim::Type30Exercise x;
  x.time_limits = true;
  x.option131 = 2;
  x.speed = speed;
  x.option133 = 3;
  x.year = 2087;
  x.month = 11;
  x.day = 30;
  x.hour = 6;
  x.minute = 5;
  x.second = 59;
  x.duration_tenths = 127 * 36000 + 59 * 600 + 58 * 10 + 9;
  x.byte36 = 200;
  x.byte37 = 1;
  x.byte134 = 134;
  x.total = 65535;
  x.words = {140, 160, 1000, 2000, 3000, 4000, 111, 110};
  for (size_t i = 0; i < 9; ++i)
    x.zone_seconds[i] = 3600 * static_cast<int32_t>(i) + 61;
  x.more_seconds = {1, 59, 35999};
  for (size_t i = 0; i < 10; ++i)
    x.bytes[i] = 115 + static_cast<int32_t>(i);
  x.late_seconds = {10, 20, 30, 40, 50};
  x.distance = 4321;
  x.pace = 7;
  x.value135 = 135;
  for (int32_t i = 0; i < 5; ++i)
    x.laps.push_back({600 * (i + 1) + i, 150 + i, 140 + i, 170 + i, 1000 + i, 200 + i, 30 + i});
  return x;
}

TEST_F(SummaryRoundTripTest, Type30WithAndWithoutSpeed) {
  for (bool speed : {false, true}) {
    const sim::Type30Exercise x = Type30(speed);
    BothImages(
        30, 0, [&](ImageKind kind) { return sim::Type30Image(x, kind); },
        [&] {
          ExpectParams({{132, 1}, {131, 2}, {133, 3}});
          EXPECT_EQ(fnQuibra_GetRecFlags(8), speed ? 1 : 0);
          ExpectParams(
              {{9, 20871130}, {10, (6 * 3600 + 5 * 60 + 59) * 10}, {11, x.duration_tenths * 100}});
          const int32_t seconds = x.duration_tenths / 10;
          ExpectParams({{40, seconds}, {36, 200}, {37, 1}, {134, 134}, {80, 65535}, {91, 65535}});
          const std::array<int32_t, 8> words = {14, 13, 16, 15, 18, 17, 111, 110};
          for (size_t i = 0; i < words.size(); ++i)
            EXPECT_EQ(fnQuibra_GetRecParam(words[i]), x.words[i]);
          const std::array<int32_t, 9> zones = {71, 70, 69, 74, 73, 72, 77, 76, 75};
          for (size_t i = 0; i < zones.size(); ++i)
            EXPECT_EQ(fnQuibra_GetRecParam(zones[i]), x.zone_seconds[i] * 10);
          ExpectParams({{114, 10}, {113, 590}, {112, 359990}});
          for (int32_t i = 0; i < 10; ++i)
            EXPECT_EQ(fnQuibra_GetRecParam(115 + i), 115 + i);
          for (int32_t i = 0; i < 5; ++i)
            EXPECT_EQ(fnQuibra_GetRecParam(125 + i), (i + 1) * 100);
          ExpectParams({{38, 43210}, {130, 7}, {44, 3600 / 7}});
          ExpectParams({{43, static_cast<int32_t>(43210 / (seconds / 3600.0))}, {135, 135}});
          ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 5);
          for (int32_t i = 0; i < 5; ++i) {
            const sim::Type30Lap& lap = x.laps[static_cast<size_t>(i)];
            ExpectLap(i, {{601, lap.tenths}, {607, lap.heart_rate}, {609, lap.average}});
            ExpectLap(i, {{610, lap.maximum}, {649, speed ? lap.value : 0}});
            ExpectLap(i, {{604, speed ? lap.distance * 10 : 0}, {612, speed ? lap.speed : 0}});
            ExpectLap(i, {{659, i + 1}});
          }
          EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 0);
        });
  }
}

sim::Type31Exercise Type31(int32_t laps, int32_t seed) {
  sim::Type31Exercise x;
  x.option131 = 3;
  x.option133 = true;
  x.imperial = seed % 2 == 1;
  x.duration_hundredths = ((1 * 3600 + 2 * 60 + 3) * 100) + 45 + seed;
  x.byte36 = 36;
  x.byte37 = 37 + seed;
  x.zone_seconds = {70, 69, 71};
  x.total = 1000 + seed;
  x.words = {38, 43, 44};
  x.average_cadence = 103;
  x.maximum_cadence = 104;
  x.year = 1995 + 10 * seed;
  x.month = 12;
  x.day = 31;
  x.hour = 23;
  x.minute = 59;
  x.second = 59;
  x.byte134 = 134;
  x.limit_low = 120;
  x.limit_high = 165;
  for (int32_t i = 0; i < laps; ++i) {
    x.laps.push_back({i % 3, 3000 * (i + 1) + i, 150 + i, 140 + i, 300 + seed, 90, 85, 12 + i});
  }
  return x;
}

TEST_F(SummaryRoundTripTest, Type31PicksTheIndexedExercise) {
  // The last exercise has no laps: its fixed part ends the memory.
  const std::vector<sim::Type31Exercise> xs = {Type31(2, 0), Type31(4, 2), Type31(0, 1)};
  for (int32_t n = 0; n < 3; ++n) {
    const sim::Type31Exercise& x = xs[static_cast<size_t>(n)];
    BothImages(
        31, n, [&](ImageKind kind) { return sim::Type31Image(xs, kind); },
        [&] {
          ExpectParams({{131, 3}, {133, 1}, {8, x.imperial ? 1 : 0}});
          ExpectParams({{11, x.duration_hundredths * 10}, {40, x.duration_hundredths / 100}});
          ExpectParams({{37, x.byte37}, {70, 700}, {69, 690}, {71, 710}, {80, x.total}});
          ExpectParams({{91, x.total}, {38, 38}, {43, 43}, {44, 44}, {103, 103}, {104, 104}});
          ExpectParams({{9, x.year * 10000 + 1231}, {10, (23 * 3600 + 59 * 60 + 59) * 10}});
          ExpectParams({{134, 134}, {14, 120}, {13, 165}, {83, 1}});
          ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), static_cast<int32_t>(x.laps.size()));
          EXPECT_EQ(fnQuibra_GetRecFlags(13), x.laps.empty() ? 0 : 1);
          for (size_t i = 0; i < x.laps.size(); ++i) {
            const sim::Type31Lap& lap = x.laps[i];
            const int32_t k = static_cast<int32_t>(i);
            ExpectLap(k, {{648, lap.kind + 1}, {653, lap.kind}, {601, lap.tenths}});
            ExpectLap(k, {{607, lap.heart_rate}, {609, lap.average}, {611, lap.speed}});
            ExpectLap(k, {{613, lap.cadence}, {614, lap.average_cadence}});
            ExpectLap(k, {{604, lap.distance * 100}, {659, k + 1}});
          }
        });
  }
}

TEST_F(SummaryRoundTripTest, Type32Records) {
  std::vector<sim::Type32Exercise> xs(3);
  for (int32_t n = 0; n < 3; ++n) {
    sim::Type32Exercise& x = xs[static_cast<size_t>(n)];
    x.options = n == 0 ? 0x35 : 0x0A;  // 0x35: speed, cadence, imperial, limit form 1
    x.year = 1991 + 40 * n;
    x.month = 2 + n;
    x.day = 28 - n;
    x.start_seconds = 12 * 3600 + n;
    x.duration_seconds = 99 * 3600 + 59 * 60 + 59;
    x.seconds154 = 600 + n;
    x.late_seconds = {1, 2, 3};
    x.bytes = {20, 19, 36, 37 + n};
    x.total = 9000 + n;
    x.byte108 = 108;
    x.distance = 3838;
    x.value44 = 4444;
    x.value43 = 4343;
    x.cadence104 = 104;
    x.cadence103 = 103;
  }
  for (int32_t n = 0; n < 3; ++n) {
    const sim::Type32Exercise& x = xs[static_cast<size_t>(n)];
    const bool first = n == 0;
    BothImages(
        32, n, [&](ImageKind kind) { return sim::Type32Image(xs, kind); },
        [&] {
          ExpectFlags({{8, first ? 1 : 0}, {10, first ? 1 : 0}, {9, 1}});
          ExpectParams({{8, first ? 1 : 0}, {132, first ? 0 : 2}, {131, first ? 2 : 1}});
          ExpectParams({{133, first ? 2 : 1}, {9, x.year * 10000 + x.month * 100 + x.day}});
          ExpectParams({{10, x.start_seconds * 10}, {11, x.duration_seconds * 1000}});
          ExpectParams({{40, x.duration_seconds}, {154, x.seconds154 * 1000}, {68, 10}, {67, 20}});
          ExpectParams({{66, 30}, {20, 20}, {19, 19}, {37, 37 + n}, {80, x.total}, {108, 108}});
          ExpectParams({{38, 3838}, {44, 4444}, {43, 4343}, {104, 104}, {103, 103}});
        });
  }
}

// An index past the exercises an image holds names none, so that stepping through them ends.
TEST_F(SummaryRoundTripTest, AnIndexPastTheExercisesFails) {
  const std::vector<sim::Type31Exercise> x31 = {Type31(2, 0), Type31(0, 1), Type31(4, 2)};
  const std::vector<sim::Type32Exercise> x32(3);
  const struct {
    std::vector<uint8_t> image;
    int32_t held;
  } kCases[] = {
      {sim::Type30Image(Type30(false), ImageKind::kSingleExercise), 1},
      {sim::Type31Image(x31, ImageKind::kSingleExercise), 3},
      {sim::Type32Image(x32, ImageKind::kSingleExercise), 3},
  };
  for (const auto& c : kCases) {
    Load(c.image);
    EXPECT_EQ(fnQuibra_AnalyzeFile(c.held - 1, 0), 1) << c.held;
    EXPECT_EQ(fnQuibra_AnalyzeFile(c.held, 0), 0) << c.held;
    EXPECT_EQ(fnQuibra_AnalyzeFile(c.held + 7, 0), 0) << c.held;
  }
}

}  // namespace
}  // namespace quibra::testing

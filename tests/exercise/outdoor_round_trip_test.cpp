// Outdoor exercises built with the encoder decode to the values they were built from.
#include <vector>

#include "exercise/analysis.h"
#include "quibra/quibra.h"
#include "sim/encoders/image_layout.h"
#include "sim/encoders/outdoor_encoder.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using sim::OutdoorExercise;
using sim::OutdoorLap;
using sim::OutdoorSample;

OutdoorExercise Hike(bool altitude) {
  OutdoorExercise x;
  x.year = 2031;
  x.month = 12;
  x.day = 31;
  x.start_h = 23;
  x.start_m = 59;
  x.start_s = 58;
  x.interval_code = 1;  // 15 s
  x.has_altitude = altitude;
  x.altitude_a = -300;
  x.altitude_b = 2500;
  x.limit1_low = 110;
  x.limit1_high = 150;
  x.limit3_low = 160;
  x.limit3_high = 175;
  x.total = 40000;
  for (int32_t i = 0; i < 40; ++i) {
    x.samples.push_back({60 + i * 3, i % 7 == 3, 1000 + i * 50});
  }
  x.duration_s = 40 * 15;
  x.laps.push_back({1, 120, 150, 1200, 8000, -5, 11, 1, 0});
  x.laps.push_back({5, 300, 155, 1300, 8100, 12, 22, 2, 2});
  x.laps.push_back({3, 240, 152, 1250, 8050, 0, 33, 3, 0});  // stored out of order
  x.laps.push_back({0, 240, 1, 1, 1, 1, 1, 1, 0});           // a repeated time: dropped
  return x;
}

class OutdoorRoundTripTest : public ModuleTest {
 protected:
  void Load(const std::vector<uint8_t>& image) { ASSERT_TRUE(sim::LoadIntoExerciseMemory(image)); }

  void ExpectDecoded(const OutdoorExercise& x) {
    EXPECT_EQ(fnQuibra_GetRecParam(9), x.year * 10000 + x.month * 100 + x.day);
    EXPECT_EQ(fnQuibra_GetRecParam(10), (x.start_h * 3600 + x.start_m * 60 + x.start_s) * 10);
    EXPECT_EQ(fnQuibra_GetRecParam(11), x.duration_s * 1000);
    EXPECT_EQ(fnQuibra_GetRecParam(12), 15);
    EXPECT_EQ(fnQuibra_GetRecParam(14), x.limit1_low);
    EXPECT_EQ(fnQuibra_GetRecParam(13), x.limit1_high);
    EXPECT_EQ(fnQuibra_GetRecParam(18), x.limit3_low);
    EXPECT_EQ(fnQuibra_GetRecParam(17), x.limit3_high);
    EXPECT_EQ(fnQuibra_GetRecParam(80), x.total);
    EXPECT_EQ(fnQuibra_GetRecFlags(9), x.has_altitude ? 1 : 0);
    if (x.has_altitude) {
      EXPECT_EQ(fnQuibra_GetRecParam(42), x.altitude_a);
      EXPECT_EQ(fnQuibra_GetRecParam(101), x.altitude_b);
    }
    ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), static_cast<int32_t>(x.samples.size()));
    int32_t altitude = 0;
    int32_t pressure = 0;
    for (size_t i = 0; i < x.samples.size(); ++i) {
      const auto& s = x.samples[i];
      (s.pressure ? pressure : altitude) = s.value;
      const int32_t index = static_cast<int32_t>(i);
      EXPECT_EQ(fnQuibra_GetHRMSamples(1, index), s.heart_rate);
      if (x.has_altitude) {
        EXPECT_EQ(fnQuibra_GetHRMSamples(4, index), altitude - 768);
        EXPECT_EQ(fnQuibra_GetHRMSamples(9, index), (pressure + 8) / 16 + 250);
      }
    }
    // Laps come back ordered by time with the repeated time dropped.
    ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 3);
    const std::vector<size_t> order = {0, 2, 1};
    for (size_t i = 0; i < order.size(); ++i) {
      const OutdoorLap& lap = x.laps[order[i]];
      const int32_t index = static_cast<int32_t>(i);
      EXPECT_EQ(fnQuibra_GetIntTimeData(index, 601), lap.seconds * 10);
      EXPECT_EQ(fnQuibra_GetIntTimeData(index, 607), lap.heart_rate);
      EXPECT_EQ(fnQuibra_GetIntTimeData(index, 615), lap.altitude);
      EXPECT_EQ(fnQuibra_GetIntTimeData(index, 621), lap.temperature * 10);
      EXPECT_EQ(fnQuibra_GetIntTimeData(index, 636), lap.total);
      EXPECT_EQ(fnQuibra_GetIntTimeData(index, 646), (lap.pressure + 4000 + 8) / 16);
    }
    EXPECT_EQ(fnQuibra_GetIntTimeData(0, 603), 0x200000);
    EXPECT_EQ(fnQuibra_GetIntTimeData(1, 603), 0x400000);
    ASSERT_EQ(fnQuibra_GetNbrOfSwapTimes(), 1);
    EXPECT_EQ(fnQuibra_GetLimitSwapData(0, 900), 3000);
    EXPECT_EQ(fnQuibra_GetLimitSwapData(0, 901), 2);
    EXPECT_EQ(fnQuibra_GetRecParam(83), 3);
  }
};

TEST_F(OutdoorRoundTripTest, SingleExerciseWithAndWithoutAltitude) {
  for (bool altitude : {true, false}) {
    const OutdoorExercise x = Hike(altitude);
    m().unit.type = 21;  // a single-exercise image names no product code the map knows
    Load(sim::OutdoorSingleImage(x, 21));
    ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
    ExpectDecoded(x);
  }
}

TEST_F(OutdoorRoundTripTest, WholeMemoryPicksTheIndexedExercise) {
  OutdoorExercise first = Hike(true);
  first.total = 1;
  const OutdoorExercise second = Hike(true);
  Load(sim::OutdoorWholeImage({first, second}, 21, 102));
  ASSERT_EQ(fnQuibra_AnalyzeFile(1, 1), 1);
  ExpectDecoded(second);
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  EXPECT_EQ(fnQuibra_GetRecParam(80), 1);
  EXPECT_EQ(fnQuibra_AnalyzeFile(2, 1), 0);
}

}  // namespace
}  // namespace quibra::testing

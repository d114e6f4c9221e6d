// Exercises downloaded from a simulated unit, saved by the library as HRM files and read back by
// the tool's reader, equal the exercise the library's getters report: every parameter, lap row,
// trip value and sample channel (the K-series with speed, cadence, altitude, power and pedalling
// balance; the outdoor units with altitude and air pressure).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hrm_reader.h"
#include "model_from_store.h"
#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "support/sim_unit_fixture.h"
#include "support/test_folder.h"

namespace quibra::testing {
namespace {

using cli::formats::ExerciseModel;

sim::KSeriesExercise Ride(bool power) {
  sim::KSeriesExercise x;
  x.name = power ? "Power" : "Hills";
  x.year = 2026;
  x.month = 5;
  x.day = 17;
  x.hour = 9;
  x.minute = 41;
  x.lap_type_code = power ? 2 : 1;
  x.limits = {{{true, 120, 150}, {true, 100, 130}, {true, 160, 175}}};
  x.fourth_limit = {true, 90, 110};
  x.sensors = {2, !power, !power, power};
  x.extended_laps = !power;
  x.altitude_summary = {900, -40, 1300};
  x.average_speed = 420;
  x.maximum_speed = 1999;
  x.trip_counter = 4321;
  x.samples.resize(600);
  for (int32_t i = 0; i < 600; ++i) {
    sim::KSeriesSample& s = x.samples[static_cast<size_t>(i)];
    s.heart_rate = 70 + (i * 7) % 120;
    s.speed = (i * 37) % 2048;
    s.cadence = power ? 0 : (i * 5) % 200;
    s.altitude = power ? 0 : -300 + (i * 13) % 4000;
    s.power = power ? (i * 41) % 1500 : 0;
    s.pedal_a = power ? (i * 3) % 256 : 0;
    s.pedal_b = power ? (i * 7) % 256 : 0;
  }
  x.duration_tenths = 600 * 50 + 3;
  for (int32_t k = 1; k <= 4; ++k) {
    x.laps.push_back({.tenths = 6000 * k + k,
                      .heart_rate = 140 + k,
                      .average = 130 + k,
                      .maximum = 175 + k,
                      .altitude = power ? 0 : 100 + 50 * k,
                      .temperature = 12 + k,
                      .cadence = 80 + k,
                      .power = power ? 300 + k : 0,
                      .distance = 30 + 10 * k,
                      .speed = 500 + 100 * k,
                      .recovery_seconds = 61 + k,
                      .recovery_rate = 110 + k,
                      .extra = 3 + k});
  }
  return x;
}

sim::OutdoorExercise Hike() {
  sim::OutdoorExercise x;
  x.year = 2025;
  x.month = 8;
  x.day = 2;
  x.start_h = 6;
  x.interval_code = 1;
  x.limit1_low = 110;
  x.limit1_high = 150;
  for (int32_t i = 0; i < 300; ++i)
    x.samples.push_back({60 + i % 100, i % 7 == 3, 1000 + i * 50 % 3000});
  x.duration_s = 300 * 15;
  x.laps.push_back({1, 1200, 150, 1200, 8000, -5, 11, 1, 0});
  x.laps.push_back({3, 2400, 152, 1250, 8050, 7, 33, 3, 0});
  return x;
}

struct Memory {
  const char* name;
  int32_t type;
  uint8_t product_code;
  uint8_t version;
  int32_t exercises;
  std::vector<uint8_t> (*image)();
};

const Memory kMemories[] = {
    {"KSeries", 22, 19, 3, 2,
     [] {
       return sim::KSeriesSingleImage({Ride(false), Ride(true)}, 22, 19, 3);
     }},
    {"Outdoor", 21, 102, 1, 1, [] { return sim::OutdoorSingleImage(Hike(), 21, 102, 1); }},
};

class HrmRoundTrip : public SimUnitTest, public ::testing::WithParamInterface<Memory> {
 protected:
  HrmRoundTrip() : SimUnitTest(GetParam().type, GetParam().version) {}
};

TEST_P(HrmRoundTrip, TheReaderGivesBackTheRecordTheFileWasWrittenFrom) {
  ASSERT_TRUE(unit_.set_exercise_memory(GetParam().image()));
  open();
  ASSERT_EQ(fnQuibra_ReadExercisesData(0, 0), 1);
  const std::string dir = TestFolder();
  for (int32_t n = 0; n < GetParam().exercises; ++n) {
    SCOPED_TRACE(n);
    ASSERT_EQ(fnQuibra_AnalyzeFile(n, 0), 1);
    const ExerciseModel stored = cli::formats::ModelFromStore();
    ASSERT_GT(stored.samples.size(), 100u);
    ASSERT_FALSE(stored.laps.empty());
    char path[260] = {};
    std::snprintf(path, sizeof path, "%s/%d.hrm", dir.c_str(), n);
    ASSERT_EQ(fnQuibra_SaveExerciseHRM(0, path, 0), 1);
    cli::formats::HrmReadError error;
    auto read = cli::formats::ReadHrmFile(path, error);
    ASSERT_TRUE(read) << error.Text();
    // The name is in the file's [Note] block only: the getters have none.
    if (GetParam().type == 22) {
      EXPECT_EQ(read->note, n == 0 ? "Hills" : "Power");
    }
    read->note.clear();
    EXPECT_EQ(read->params, stored.params);
    EXPECT_EQ(read->laps, stored.laps);
    EXPECT_EQ(read->trip, stored.trip);
    EXPECT_EQ(read->samples, stored.samples);
    EXPECT_TRUE(*read == stored);
  }
}

INSTANTIATE_TEST_SUITE_P(Units, HrmRoundTrip, ::testing::ValuesIn(kMemories),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quibra::testing

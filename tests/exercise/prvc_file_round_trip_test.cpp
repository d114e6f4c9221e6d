// Exercise files of types 33..38 written by the simulator's encoder, for every sensor combination
// each model can record, decode to the values they were built from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quibra/quibra.h"
#include "sim/encoders/prvc_file_encoder.h"
#include "support/exercise_image.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

struct Model {
  int32_t type;
  bool altitude, power, layout_b;
  std::vector<int32_t> intervals;
};
const Model kModels[] = {
    {33, true, false, false, {1, 5, 15, 60}}, {34, true, true, true, {1, 2, 5, 15, 60}},
    {35, true, true, false, {1, 5, 15, 60}},  {36, false, false, false, {1, 5, 15, 60}},
    {37, true, false, false, {1, 5, 15, 60}}, {38, true, false, true, {1, 2, 5, 15, 60}},
};

enum Sensor { kSpeed = 1, kCadence = 2, kAltitude = 4, kPower = 8, kExtra = 16 };

sim::FileSample MakeSample(int32_t i, bool fine_speed) {
  sim::FileSample s;
  s.heart_rate = 90 + i % 70;
  s.speed = fine_speed ? 100 + 3 * i : 5 * (20 + i % 30);
  s.distance = 40 + i;
  s.cadence = 60 + i % 50;
  s.altitude = -20 + 7 * i;
  s.power = 150 + 11 * i;
  s.pedalling = 0x0102 + i;
  s.first = 0x12345 + i, s.first_byte = 3, s.nibble = i % 16;
  s.second = 0xABCDE - i, s.second_byte = 9, s.two_bits = i % 4, s.one_bit = i % 2;
  return s;
}

class FileRoundTrip : public ModuleTest {
 protected:
  // Builds, loads and decodes one file; checks what came back against what went in.
  void RoundTrip(const Model& model, int32_t sensors, int32_t interval) {
    sim::FileExercise e;
    e.type = model.type;
    e.version = 5;
    e.name = "Hill " + std::to_string(sensors);
    e.speed = (sensors & kSpeed) != 0;
    e.cadence = (sensors & kCadence) != 0;
    e.altitude = (sensors & kAltitude) != 0;
    e.power = (sensors & kPower) != 0;
    e.extra = (sensors & kExtra) != 0;
    e.max_speed = 5120, e.average_speed = 2560, e.distance_quarters = 4 * 12345;
    e.cadence_average = 70, e.cadence_max = 95;
    e.altitudes = {110, 90, 250};
    e.power_average = 180, e.power_max = 420;
    e.scale = model.layout_b ? 500 : 1000;
    e.byte167 = 4;
    e.zone_seconds[0] = 65;
    // Two segments: the first interval, then (where there is one) the next coarser.
    const int32_t coarser =
        interval == 60 ? 0 : sim::file_layout::NextCoarser(interval, model.layout_b);
    e.segments.push_back({interval, {}});
    for (int32_t i = 0; i < 6; ++i)
      e.segments[0].records.push_back(MakeSample(i, interval >= 15 || model.layout_b));
    if (coarser != 0) {
      e.segments.push_back({coarser, {}});
      for (int32_t i = 6; i < 9; ++i)
        e.segments[1].records.push_back(MakeSample(i, coarser >= 15 || model.layout_b));
    }
    std::vector<sim::FileSample> expected;
    for (const auto& segment : e.segments) {
      for (const auto& s : segment.records)
        expected.insert(expected.end(), static_cast<size_t>(segment.interval / interval), s);
    }
    e.duration_tenths = static_cast<int32_t>(expected.size()) * interval * 10;
    for (int32_t k = 0; k < 2; ++k) {
      sim::FileLap lap;
      lap.tenths = (k + 1) * e.duration_tenths / 3 / 4 * 4;
      lap.second_kind = k == 1;
      lap.heart_rate = 120 + k, lap.average = 110 + k, lap.maximum = 150 + k;
      lap.speed = 2560, lap.average_speed = 1280, lap.distance_quarters = 400 * (k + 1);
      lap.cadence = 80 + k, lap.average_cadence = 75;
      lap.altitude = 300 + k, lap.temperature = 76, lap.ascent_feet = 100;
      lap.power = 200 + k, lap.power_value = 7;
      e.laps.push_back(lap);
    }
    ASSERT_TRUE(LoadExerciseImage(sim::EncodeFileExercise(e)));
    module().unit.type = model.type;
    ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);

    // Type 37 shows cadence only together with speed.
    const bool cadence = e.cadence && !e.extra && (model.type != 37 || e.speed);
    EXPECT_EQ(fnQuibra_GetRecFlags(8), e.speed ? 1 : 0);
    EXPECT_EQ(fnQuibra_GetRecFlags(10), cadence ? 1 : 0);
    EXPECT_EQ(fnQuibra_GetRecFlags(9), e.altitude ? 1 : 0);
    EXPECT_EQ(fnQuibra_GetRecFlags(11), e.power ? 1 : 0);
    EXPECT_EQ(fnQuibra_GetRecFlags(18), e.power ? 1 : 0);
    EXPECT_EQ(fnQuibra_GetRecFlags(23), e.extra ? 1 : 0);
    EXPECT_EQ(fnQuibra_GetRecFlags(13), 1);
    EXPECT_EQ(fnQuibra_GetRecParam(12), interval);
    EXPECT_EQ(fnQuibra_GetRecParam(11), e.duration_tenths * 100);
    EXPECT_EQ(fnQuibra_GetRecParam(167), 4);
    EXPECT_EQ(fnQuibra_GetRecParam(125), 650);
    if (e.speed) {
      EXPECT_EQ(fnQuibra_GetRecParam(44), 200);
      EXPECT_EQ(fnQuibra_GetRecParam(43), 100);
      EXPECT_EQ(fnQuibra_GetRecParam(169), 1234500);
    }
    if (e.altitude) {
      EXPECT_EQ(fnQuibra_GetRecParam(42), 250);
    }
    if (e.power) {
      EXPECT_EQ(fnQuibra_GetRecParam(79), 420);
    }

    ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
      const auto& s = expected[i];
      const auto at = static_cast<int32_t>(i);
      EXPECT_EQ(fnQuibra_GetHRMSamples(1, at), s.heart_rate) << i;
      if (e.speed) {
        EXPECT_EQ(fnQuibra_GetHRMSamples(2, at), s.speed) << i;
      }
      // Without extended samples every channel reads the heart rate.
      if (sensors != 0) {
        EXPECT_EQ(fnQuibra_GetHRMSamples(3, at), cadence ? s.cadence : 0) << i;
      }
      if (e.altitude) {
        EXPECT_EQ(fnQuibra_GetHRMSamples(4, at), s.altitude) << i;
      }
      if (e.power) {
        EXPECT_EQ(fnQuibra_GetHRMSamples(5, at), s.power) << i;
        EXPECT_EQ(fnQuibra_GetHRMSamples(7, at) * 256 + fnQuibra_GetHRMSamples(6, at), s.pedalling);
      }
      if (e.extra) {
        EXPECT_EQ(fnQuibra_GetHRMSamples(10, at), s.second + 1000000 * s.second_byte) << i;
        EXPECT_EQ(fnQuibra_GetHRMSamples(11, at), s.first + 1000000 * s.first_byte) << i;
        EXPECT_EQ(fnQuibra_GetHRMSamples(12, at), s.nibble + 16 * s.one_bit + 32 * s.two_bits);
      }
    }

    ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 2);
    for (int32_t k = 0; k < 2; ++k) {
      const auto& lap = e.laps[static_cast<size_t>(k)];
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 601), lap.tenths);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 648), k + 1);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 607), lap.heart_rate);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 610), lap.maximum);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 611), e.speed ? 100 : 0);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 604), e.speed ? 100 * (k + 1) : 0);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 613), cadence ? lap.cadence : 0);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 615), e.altitude ? lap.altitude : 0);
      EXPECT_EQ(fnQuibra_GetIntTimeData(k, 617), e.power && model.type != 37 ? lap.power : 0);
    }
  }
};

TEST_F(FileRoundTrip, EverySensorCombinationOfEveryModel) {
  for (const Model& model : kModels) {
    int32_t n = 0;
    for (int32_t sensors = 0; sensors < 32; ++sensors) {
      if ((sensors & kAltitude) && !model.altitude) continue;
      if ((sensors & kPower) && !model.power) continue;
      if ((sensors & kExtra) && !(sensors & kSpeed)) continue;
      const int32_t interval = model.intervals[static_cast<size_t>(n++) % model.intervals.size()];
      SCOPED_TRACE("type " + std::to_string(model.type) + " sensors " + std::to_string(sensors) +
                   " interval " + std::to_string(interval));
      RoundTrip(model, sensors, interval);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace quibra::testing

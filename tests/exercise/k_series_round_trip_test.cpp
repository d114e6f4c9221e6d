// K-series exercises built with the encoder decode to the values they were built from, for every
// type, with and without each extra channel, extended laps, R-R recording and limit swaps.
#include <array>
#include <vector>

#include "exercise/analysis.h"
#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "support/exercise_expectations.h"
#include "support/exercise_image.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using sim::KSeriesExercise;
using sim::KSeriesLap;
using sim::KSeriesLimitForm;
using sim::KSeriesSample;
using sim::KSeriesSensors;

struct Unit {
  int32_t type;
  uint8_t product_code;
};
constexpr std::array<Unit, 6> kUnits = {
    {{11, 17}, {12, 34}, {13, 51}, {15, 68}, {22, 19}, {23, 37}}};

bool SensorUnit(int32_t type) {
  return type == 12 || type == 22 || type == 23;
}
int32_t Round(double x) {
  return static_cast<int32_t>(x + 0.5);
}

// An exercise that fills every field the type keeps; the channels and lap form are the caller's.
KSeriesExercise Ride(KSeriesSensors sensors, bool extended, int32_t seed) {
  KSeriesExercise x;
  x.kind = 3;
  x.name = "Ride";
  x.year = 2011 + seed;
  x.month = 10;
  x.day = 28;
  x.hour = 17;
  x.minute = 45;
  x.second = 9;
  x.interval_code = 2;  // 60 s
  x.byte36 = 36 + seed;
  x.byte37 = 37;
  x.lap_type_code = 1;
  x.limits = {{{true, 120, 150}, {false, 0, 0}, {true, 160, 175}}};
  x.fourth_limit = {true, 90, 100};
  x.recovery_seconds = 165;
  x.recovery_byte = 77;
  for (size_t i = 0; i < x.zone_seconds.size(); ++i)
    x.zone_seconds[i] = 100 * static_cast<int32_t>(i) + 7;
  x.total = 54321;
  x.sensors = sensors;
  x.trip_counter = 123456;
  x.trip_value = 4321;
  x.trip_value2 = 60000;
  x.average_speed = 400;
  x.maximum_speed = 4095;
  x.average_cadence = 88;
  x.maximum_cadence = 120;
  x.altitude_summary = {1200, -35, 2500};
  x.signed_summary = {-12, 5, 127};
  x.average_power = 250;
  x.maximum_power = 1100;
  x.pedalling = {101, 50, 255};
  x.late_seconds = {3599, 60, 7};
  x.extended_laps = extended;
  for (int32_t i = 0; i < 40; ++i) {
    KSeriesSample s;
    s.heart_rate = 70 + (i * 7) % 150;
    s.speed = (i * 53) % 2048;
    s.cadence = (i * 3) % 256;
    s.altitude = -500 + i * 97;
    s.power = (i * 37) % 2000;
    s.pedal_a = (i * 11) % 256;
    s.pedal_b = (i * 13) % 256;
    x.samples.push_back(s);
  }
  x.duration_tenths = 40 * 600 + 3;
  for (int32_t i = 0; i < 3; ++i) {
    KSeriesLap lap;
    lap.tenths = 6000 * (i + 1) + i;
    lap.heart_rate = 140 + i;
    lap.average = 130 + i;
    lap.maximum = 170 + i;
    lap.altitude = -100 + 300 * i;
    lap.ascent = 1000 + i;
    lap.temperature = -5 + 10 * i;
    lap.cadence = 90 + i;
    lap.power = 300 + 200 * i;
    lap.distance = 55 + i;
    lap.speed = 1000 + 1000 * i;
    lap.lap_value = 987 - i;
    lap.recovery_seconds = 75 + i;
    lap.recovery_rate = i == 1 ? 252 : 100 + i;
    lap.extra = 9 + i;
    x.laps.push_back(lap);
  }
  return x;
}

class KSeriesRoundTripTest : public ModuleTest {
 protected:
  void Load(const std::vector<uint8_t>& image) { ASSERT_TRUE(LoadExerciseImage(image)); }

  // Everything the exercise says, as the library reports it.
  void ExpectDecoded(const KSeriesExercise& x, int32_t type, int32_t version) {
    SCOPED_TRACE(::testing::Message() << "type " << type << " version " << version);
    KSeriesSensors s = SensorUnit(type) ? x.sensors : KSeriesSensors{};
    if (type == 22 && version >= 3 && s.speed_code == 1) s.cadence = s.power = false;
    const bool speed = s.speed_code != 0;
    const bool extra = speed || s.altitude;
    ExpectParams({{5, type}, {9, x.year * 10000 + x.month * 100 + x.day}});
    ExpectParams({{10, (x.hour * 3600 + x.minute * 60 + x.second) * 10}});
    ExpectParams({{11, x.duration_tenths * 100}, {40, x.duration_tenths / 10}, {12, 60}});
    ExpectParams({{36, x.byte36}, {37, x.byte37}, {8, x.imperial ? 1 : 0}});
    ExpectFlags({{6, 1}, {12, x.extended_laps ? 1 : 0}, {21, 1}});
    EXPECT_EQ(fnQuibra_GetRecParam(14), 120);
    EXPECT_EQ(fnQuibra_GetRecParam(13), 150);
    EXPECT_EQ(fnQuibra_GetRecParam(16), 0);  // set 2 absent
    EXPECT_EQ(fnQuibra_GetRecParam(18), 160);
    EXPECT_EQ(fnQuibra_GetRecParam(17), 175);
    const bool fourth = type == 22 || type == 23;
    ExpectParams({{20, fourth ? 90 : 0}, {19, fourth ? 100 : 0}, {47, x.recovery_seconds * 10}});
    ExpectParams({{48, x.recovery_byte}});
    const std::array<int32_t, 9> zones = {71, 70, 69, 74, 73, 72, 77, 76, 75};
    for (size_t i = 0; i < zones.size(); ++i)
      EXPECT_EQ(fnQuibra_GetRecParam(zones[i]), x.zone_seconds[i] * 10);
    ExpectParams({{80, x.total}, {91, x.total}});

    const bool sensor = SensorUnit(type);
    ExpectParams({{45, sensor ? x.trip_counter : 0},
                  {38, sensor ? x.trip_value : 0},
                  {39, sensor ? x.trip_value2 : 0},
                  {43, speed ? Round(x.average_speed / 1.6) : 0},
                  {44, speed ? Round(x.maximum_speed / 1.6) : 0},
                  {103, s.cadence ? x.average_cadence : 0},
                  {104, s.cadence ? x.maximum_cadence : 0},
                  {101, s.altitude ? x.altitude_summary[0] : 0},
                  {41, s.altitude ? x.altitude_summary[1] : 0},
                  {42, s.altitude ? x.altitude_summary[2] : 0},
                  {99, sensor ? x.signed_summary[0] * 10 : 0},
                  {81, sensor ? x.signed_summary[1] * 10 : 0},
                  {82, sensor ? x.signed_summary[2] * 10 : 0},
                  {79, s.power ? x.average_power : 0},
                  {78, s.power ? x.maximum_power : 0},
                  {106, s.power ? x.pedalling[0] / 2 : 0},
                  {105, s.power ? x.pedalling[1] / 2 : 0},
                  {107, s.power ? x.pedalling[2] / 2 : 0},
                  {68, fourth ? x.late_seconds[0] * 10 : 0},
                  {67, fourth ? x.late_seconds[1] * 10 : 0},
                  {66, fourth ? x.late_seconds[2] * 10 : 0}});

    ExpectFlags({{8, speed ? 1 : 0}, {9, s.altitude ? 1 : 0}, {10, s.cadence ? 1 : 0}});
    ExpectFlags({{11, s.power ? 1 : 0}, {18, s.power ? 1 : 0}, {3, extra ? 1 : 0}});
    EXPECT_EQ(fnQuibra_GetRecParam(7), extra ? 32 : 16);

    ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), static_cast<int32_t>(x.laps.size()));
    EXPECT_EQ(fnQuibra_GetRecFlags(13), x.laps.empty() ? 0 : 1);
    for (size_t i = 0; i < x.laps.size(); ++i) {
      const KSeriesLap& lap = x.laps[i];
      const int32_t n = static_cast<int32_t>(i);
      ExpectLap(n,
                {{601, lap.tenths}, {607, lap.heart_rate}, {609, lap.average}, {610, lap.maximum}});
      EXPECT_EQ(fnQuibra_GetIntTimeData(n, 625), 2);  // lap-type code 1
      ExpectLap(n, {{615, s.altitude ? lap.altitude : 0},
                    {636, s.altitude ? lap.ascent : 0},
                    {621, s.altitude ? lap.temperature * 10 : 0},
                    {613, speed && s.cadence ? lap.cadence : 0},
                    {617, speed && s.power ? lap.power : 0}});
      EXPECT_EQ(fnQuibra_GetIntTimeData(n, 604),
                speed ? lap.distance * (x.imperial ? 176 : 100) : 0);
      EXPECT_EQ(fnQuibra_GetIntTimeData(n, 611), speed ? Round(lap.speed / 1.6) : 0);
      EXPECT_EQ(fnQuibra_GetIntTimeData(n, 624), speed && x.extended_laps ? lap.lap_value : 0);
      if (x.extended_laps && !lap.limit_swap) {
        EXPECT_EQ(fnQuibra_GetIntTimeData(n, 603), 1);
        EXPECT_EQ(fnQuibra_GetIntTimeData(n, 626), lap.recovery_seconds);
        EXPECT_EQ(fnQuibra_GetIntTimeData(n, 627),
                  lap.recovery_rate == 252 ? 0 : lap.recovery_rate);
        EXPECT_EQ(fnQuibra_GetIntTimeData(n, 645), lap.recovery_rate * 256 + lap.extra);
      } else {
        EXPECT_EQ(fnQuibra_GetIntTimeData(n, 603), 0);
      }
    }

    ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), static_cast<int32_t>(x.samples.size()));
    int32_t previous = 0;
    for (size_t i = 0; i < x.samples.size(); ++i) {
      const KSeriesSample& sample = x.samples[i];
      const int32_t n = static_cast<int32_t>(i);
      const int32_t heart_rate = sample.limit_swap >= 0 ? previous : sample.heart_rate;
      previous = heart_rate;
      EXPECT_EQ(fnQuibra_GetHRMSamples(1, n), heart_rate);
      if (!extra) continue;
      EXPECT_EQ(fnQuibra_GetHRMSamples(2, n),
                speed ? static_cast<int32_t>(sample.speed / 1.6 + 0.501) : 0);
      EXPECT_EQ(fnQuibra_GetHRMSamples(3, n), speed && s.cadence ? sample.cadence : 0);
      EXPECT_EQ(fnQuibra_GetHRMSamples(4, n), s.altitude ? sample.altitude : -512);
      EXPECT_EQ(fnQuibra_GetHRMSamples(5, n), speed && s.power ? sample.power : 0);
      EXPECT_EQ(fnQuibra_GetHRMSamples(6, n), speed && s.power ? Round(sample.pedal_b / 2.0) : 0);
      EXPECT_EQ(fnQuibra_GetHRMSamples(7, n), speed && s.power ? sample.pedal_a / 2 : 0);
    }
  }
};

// Every type, each channel alone and all together, with and without extended laps, from both
// kinds of image.
TEST_F(KSeriesRoundTripTest, EveryTypeEveryChannelBothImages) {
  const std::array<KSeriesSensors, 6> channel_sets = {{{0, false, false, false},
                                                       {2, false, false, false},
                                                       {0, true, false, false},
                                                       {3, false, true, false},
                                                       {4, false, false, true},
                                                       {5, true, true, true}}};
  for (const Unit& unit : kUnits) {
    for (const KSeriesSensors& sensors : channel_sets) {
      for (bool extended : {false, true}) {
        if (!SensorUnit(unit.type) && sensors.speed_code + sensors.altitude != 0) continue;
        SCOPED_TRACE(::testing::Message()
                     << "speed " << sensors.speed_code << " altitude " << sensors.altitude
                     << " cadence " << sensors.cadence << " power " << sensors.power << " extended "
                     << extended);
        const KSeriesExercise first = Ride(sensors, extended, 0);
        const KSeriesExercise second = Ride(sensors, extended, 1);
        m().unit.type = 0;
        Load(sim::KSeriesSingleImage({first, second}, unit.type, unit.product_code, 2));
        ASSERT_EQ(fnQuibra_AnalyzeFile(1, 0), 1);
        ExpectDecoded(second, unit.type, 2);
        ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
        ExpectDecoded(first, unit.type, 2);
        EXPECT_EQ(fnQuibra_AnalyzeFile(2, 0), 0);

        Load(sim::KSeriesWholeImage({first, second}, unit.type, unit.product_code, 2));
        ASSERT_EQ(fnQuibra_AnalyzeFile(1, 1), 1);
        ExpectDecoded(second, unit.type, 2);
      }
    }
  }
}

// Type 22 from version 3 on ignores cadence and power with speed sensor code 1; the larger
// header moves everything after it.
TEST_F(KSeriesRoundTripTest, LateType22SpeedCodeOne) {
  for (int32_t code : {1, 2}) {
    const KSeriesExercise x = Ride({code, true, true, true}, true, 0);
    Load(sim::KSeriesSingleImage({x, x}, 22, 19, 3));
    ASSERT_EQ(fnQuibra_AnalyzeFile(1, 0), 1);
    ExpectDecoded(x, 22, 3);
    EXPECT_EQ(fnQuibra_GetRecFlags(10), code == 1 ? 0 : 1);
  }
}

// Imperial units, a 12-hour start, the marker bit, and what the listing says of the same bytes.
TEST_F(KSeriesRoundTripTest, ImperialTwelveHourAndTheListing) {
  KSeriesExercise x = Ride({6, true, true, false}, false, 3);
  x.imperial = true;
  x.twelve_hour = true;
  x.marker = true;
  x.signed_summary = {12, 0, 127};
  for (auto& lap : x.laps) {
    lap.altitude = 5 * (lap.altitude / 5);
    lap.temperature = 14 + lap.temperature + 50;
  }
  for (auto& sample : x.samples)
    sample.altitude = 5 * sample.altitude;
  for (int32_t hour : {0, 12, 13, 23}) {
    x.hour = hour;
    Load(sim::KSeriesSingleImage({x}, 12, 34, 1));
    ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
    ExpectDecoded(x, 12, 1);

    ExeFileInfo info{};
    ASSERT_EQ(fnQuibra_GetExeFileInfo(0, &info), 1);
    EXPECT_STREQ(info.Name, "Ride   ");
    EXPECT_EQ(info.TwelveHour, 1);
    EXPECT_EQ(info.StartTime, hour * 3600 + 45 * 60 + 9);
    EXPECT_EQ(info.StartDate, 20141028);
    EXPECT_EQ(info.Duration, x.duration_tenths / 10);
    EXPECT_EQ(info.Interval, 60);
    EXPECT_EQ(info.MarkerBit, 1);
    EXPECT_EQ(info.Speed, 1);
    EXPECT_EQ(info.Altitude, 1);
    EXPECT_EQ(info.Cadence, 1);
    EXPECT_EQ(info.Power, 0);
    EXPECT_EQ(info.SensorCode, 6);
  }
}

// R-R recording (type 13, interval code 3): one-byte and three-byte deltas both ways, a zero
// interval that is dropped, and the duration taken from the intervals.
TEST_F(KSeriesRoundTripTest, RrIntervals) {
  KSeriesExercise x = Ride({}, true, 0);
  x.interval_code = 3;
  x.duration_tenths = 36000;
  const std::vector<int32_t> rr = {800, 820, 700, 5000, 1000, 1000, 0, 512, 640, 8000, 100};
  x.samples.clear();
  for (int32_t v : rr) {
    KSeriesSample sample;
    sample.heart_rate = v;
    x.samples.push_back(sample);
  }
  x.laps[1].limit_swap = true;  // type 13 keeps no swaps
  Load(sim::KSeriesSingleImage({x}, 13, 51, 1));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  EXPECT_EQ(fnQuibra_GetRecParam(12), 238);
  EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 3);
  EXPECT_EQ(fnQuibra_GetNbrOfSwapTimes(), 0);
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), static_cast<int32_t>(rr.size()) - 1);
  int32_t n = 0;
  int32_t total = 0;
  for (int32_t v : rr) {
    const int32_t ms = Round(v / 1.024);
    total += ms;
    if (ms == 0) continue;
    EXPECT_EQ(fnQuibra_GetHRMSamples(1, n++), ms);
  }
  EXPECT_EQ(fnQuibra_GetRecParam(11), total);
}

// Limits as percentages of the maximum heart rate: the exercise's own maximum (type 22 from
// version 3 on), else the first fallback taken since the last download: 200 from a
// single-exercise image, byte 64 of a whole-memory image.
TEST_F(KSeriesRoundTripTest, PercentLimits) {
  KSeriesExercise x = Ride({}, false, 0);
  x.limit_form = KSeriesLimitForm::kPercent;
  x.limits = {{{true, 60, 80}, {true, 70, 85}, {true, 85, 95}}};
  x.fourth_limit = {true, 50, 55};
  const auto expect_limits = [](int32_t max_hr) {
    ExpectParams({{14, Round(60 / 100.0 * max_hr)}, {13, Round(80 / 100.0 * max_hr)}});
    ExpectParams({{16, Round(70 / 100.0 * max_hr)}, {15, Round(85 / 100.0 * max_hr)}});
    ExpectParams({{18, Round(85 / 100.0 * max_hr)}, {17, Round(95 / 100.0 * max_hr)}});
    ExpectParams({{20, Round(50 / 100.0 * max_hr)}, {19, Round(55 / 100.0 * max_hr)}, {132, 0}});
  };
  x.max_heart_rate = 193;
  Load(sim::KSeriesSingleImage({x}, 22, 19, 3));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  expect_limits(193);
  x.max_heart_rate = 0;
  Load(sim::KSeriesSingleImage({x}, 23, 37, 0));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  expect_limits(200);
  // The fallback is kept until the next download starts.
  Load(sim::KSeriesWholeImage({x}, 23, 37, 0, {}, 181));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  expect_limits(200);
  exercise::ClearMaxHeartRateCache();
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  expect_limits(181);
  Load(sim::KSeriesSingleImage({x}, 23, 37, 0));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  expect_limits(181);
}

// Limits as times (type 22 from version 3 on): every pair is a centre and a spread in s, and
// the swap markers of the samples record nothing.
TEST_F(KSeriesRoundTripTest, TimeLimits) {
  KSeriesExercise x = Ride({}, false, 0);
  x.limit_form = KSeriesLimitForm::kTime;
  x.limits = {{{true, 330, 270}, {false, 601, 599}, {true, 3050, 2950}}};
  x.fourth_limit = {true, 230, 170};
  x.samples[3].limit_swap = 1;
  Load(sim::KSeriesSingleImage({x}, 22, 19, 3));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  ExpectParams({{132, 1}, {14, 330}, {13, 270}, {16, 601}, {15, 599}, {18, 3050}, {17, 2950}});
  ExpectParams({{20, 230}, {19, 170}});
  EXPECT_EQ(fnQuibra_GetNbrOfSwapTimes(), 0);
  EXPECT_EQ(fnQuibra_GetHRMSamples(1, 3), x.samples[2].heart_rate);
}

// Limit swaps of type 22: the start set from the header, lap markers cycling through the sets
// (the marker after a step to set 2 is skipped), and markers among the samples.
TEST_F(KSeriesRoundTripTest, LimitSwaps) {
  KSeriesExercise x = Ride({2, false, false, false}, true, 0);
  x.start_limit_set = 1;
  for (auto& lap : x.laps)
    lap.limit_swap = true;
  x.samples[5].limit_swap = 2;
  x.samples[6].limit_swap = 0;
  Load(sim::KSeriesSingleImage({x}, 22, 19, 2));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  ExpectDecoded(x, 22, 2);
  const std::vector<std::array<int32_t, 2>> swaps = {
      {0, 1}, {x.laps[0].tenths, 2}, {x.laps[2].tenths, 0}, {6 * 600, 2}, {7 * 600, 0}};
  ASSERT_EQ(fnQuibra_GetNbrOfSwapTimes(), static_cast<int32_t>(swaps.size()));
  for (size_t i = 0; i < swaps.size(); ++i) {
    EXPECT_EQ(fnQuibra_GetLimitSwapData(static_cast<int32_t>(i), 900), swaps[i][0]);
    EXPECT_EQ(fnQuibra_GetLimitSwapData(static_cast<int32_t>(i), 901), swaps[i][1]);
  }
  EXPECT_EQ(fnQuibra_GetRecParam(83), 3);
  EXPECT_EQ(fnQuibra_GetRecFlags(14), 1);
  EXPECT_EQ(fnQuibra_GetIntTimeData(1, 645), 254 * 256 + x.laps[1].extra);
}

// A lap after the end of the exercise is read but not kept.
TEST_F(KSeriesRoundTripTest, LapsAfterTheEndAreNotKept) {
  KSeriesExercise x = Ride({}, false, 0);
  x.laps[2].tenths = x.duration_tenths + 1;
  Load(sim::KSeriesSingleImage({x}, 15, 68, 0));
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
  EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 2);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 40);
}

}  // namespace
}  // namespace quibra::testing

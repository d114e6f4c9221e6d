// From the unit to the HRM file: a simulated type-22 unit holds three exercises (heart rate only
// with laps; speed, cadence and altitude with extended laps; speed and power with limit swaps),
// the library downloads its memory over a pty, decodes each exercise and writes it as an HRM
// file, and each file must equal the text worked out here from the exercise as it was given to
// the unit.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "support/sim_unit_fixture.h"

namespace quibra::testing {
namespace {

namespace fs = std::filesystem;
using sim::KSeriesExercise;
using sim::KSeriesLap;
using sim::KSeriesSample;

constexpr int32_t kType = 22;
constexpr uint8_t kProductCode = 19;
constexpr uint8_t kVersion = 2;
constexpr std::array<int32_t, 3> kIntervalSeconds = {5, 15, 60};
constexpr std::array<int32_t, 3> kLapTypeWord = {1, 2, 4};  // the lap-type codes 0, 1, 2

int32_t Round(double x) {
  return static_cast<int32_t>(x + 0.5);
}

std::string Time(int32_t tenths) {
  char text[32];
  const int32_t s = tenths / 10;
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%d", s / 3600, s % 3600 / 60, s % 60,
                tenths % 10);
  return text;
}

// ---- the three exercises --------------------------------------------------------------------

KSeriesExercise Base(int32_t seed, int32_t samples, int32_t interval_code) {
  KSeriesExercise x;
  x.name = "Ex" + std::to_string(seed);
  x.year = 2009;
  x.month = 4 + seed;
  x.day = 10 + seed;
  x.hour = 7 + seed;
  x.minute = 5 * seed;
  x.second = 30;
  x.interval_code = interval_code;
  x.lap_type_code = seed % 3;
  x.limits = {{{true, 120 + seed, 150 + seed}, {seed != 1, 100, 130}, {true, 160, 175}}};
  x.fourth_limit = {true, 90, 100 + seed};
  x.trip_counter = 1000 * seed + 7;
  x.trip_value = 300 + seed;
  x.trip_value2 = 5000 + seed;
  x.duration_tenths = samples * kIntervalSeconds[static_cast<size_t>(interval_code)] * 10 + seed;
  for (int32_t i = 0; i < samples; ++i)
    x.samples.push_back({.heart_rate = 60 + (i * 7 + seed * 11) % 180});
  return x;
}

KSeriesExercise HeartRateOnly() {
  KSeriesExercise x = Base(0, 700, 0);
  for (int32_t i = 0; i < 3; ++i) {
    x.laps.push_back({.tenths = 6000 * (i + 1) + 3 * i,
                      .heart_rate = 130 + i,
                      .average = 120 + i,
                      .maximum = 160 + i});
  }
  return x;
}

KSeriesExercise SpeedCadenceAltitude() {
  KSeriesExercise x = Base(1, 1500, 0);
  x.sensors = {2, true, true, false};
  x.extended_laps = true;
  x.average_speed = 420;
  x.maximum_speed = 1999;
  x.average_cadence = 85;
  x.maximum_cadence = 110;
  x.altitude_summary = {900, -40, 1300};
  for (size_t i = 0; i < x.samples.size(); ++i) {
    KSeriesSample& s = x.samples[i];
    const auto n = static_cast<int32_t>(i);
    s.speed = (n * 37) % 2048;
    s.cadence = (n * 5) % 200;
    s.altitude = -300 + (n * 13) % 4000;
  }
  for (int32_t i = 0; i < 4; ++i) {
    x.laps.push_back({.tenths = 9000 * (i + 1) + i,
                      .heart_rate = 140 + i,
                      .average = 130 + i,
                      .maximum = 175 + i,
                      .altitude = 100 + 50 * i,
                      .ascent = 20 * i,
                      .temperature = 12 + i,
                      .cadence = 80 + i,
                      .distance = 30 + 10 * i,
                      .speed = 500 + 100 * i,
                      .lap_value = 100 + i,
                      .recovery_seconds = 61 + i,
                      .recovery_rate = i == 2 ? 252 : 110 + i,
                      .extra = 3 + i});
  }
  return x;
}

KSeriesExercise SpeedPowerWithSwaps() {
  KSeriesExercise x = Base(2, 800, 1);
  x.sensors = {3, false, false, true};
  x.average_speed = 300;
  x.maximum_speed = 900;
  x.average_power = 210;
  x.maximum_power = 640;
  x.pedalling = {40, 60, 80};
  for (size_t i = 0; i < x.samples.size(); ++i) {
    KSeriesSample& s = x.samples[i];
    const auto n = static_cast<int32_t>(i);
    s.speed = (n * 29) % 2048;
    s.power = (n * 41) % 1500;
    s.pedal_a = (n * 3) % 256;
    s.pedal_b = (n * 7) % 256;
  }
  x.samples[100].limit_swap = 1;
  x.samples[400].limit_swap = 2;
  x.samples[401].limit_swap = 0;
  x.laps.push_back({.tenths = 12345,
                    .heart_rate = 150,
                    .average = 140,
                    .maximum = 180,
                    .power = 333,
                    .distance = 77,
                    .speed = 800});
  return x;
}

// ---- the HRM text an application must get for an exercise ----------------------------------

// The user's maximum heart rate and weight, as the unit's user settings tell them.
constexpr int32_t kUserMaxHR = 187;
constexpr int32_t kUserWeightKg = 72;

std::string ExpectedHrm(const KSeriesExercise& x) {
  const bool speed = x.sensors.speed_code != 0;
  const bool altitude = x.sensors.altitude;
  const bool cadence = x.sensors.cadence;
  const bool power = x.sensors.power;
  const bool extended = speed || altitude;
  std::string out;
  const auto line = [&](const std::string& text) { out += text + "\r\n"; };
  const auto number = [&](const char* key, int32_t v) { line(key + std::to_string(v)); };
  line("[Params]");
  line("Version=107");
  number("Monitor=", kType);
  std::string smode = "SMode=";
  for (bool digit : {speed, cadence, altitude, power, power, power, extended, false, false})
    smode += digit ? '1' : '0';
  line(smode);
  number("Date=", x.year * 10000 + x.month * 100 + x.day);
  line("StartTime=" + Time((x.hour * 3600 + x.minute * 60 + x.second) * 10));
  line("Length=" + Time(x.duration_tenths));
  number("Interval=", kIntervalSeconds[static_cast<size_t>(x.interval_code)]);
  number("Upper1=", x.limits[0].second);
  number("Lower1=", x.limits[0].first);
  number("Upper2=", x.limits[1].present ? x.limits[1].second : 0);
  number("Lower2=", x.limits[1].present ? x.limits[1].first : 0);
  number("Upper3=", x.fourth_limit.second);
  number("Lower3=", x.fourth_limit.first);
  for (const char* key : {"Timer1=", "Timer2=", "Timer3="})
    line(key + Time(0));
  number("ActiveLimit=", 0);
  number("MaxHR=", kUserMaxHR);
  for (const char* key : {"RestHR=", "StartDelay=", "VO2max="})
    number(key, 0);
  number("Weight=", kUserWeightKg);
  line("");
  line("[Note]");
  line(x.name);
  line("");
  line("[IntTimes]");
  const int32_t lap_word = kLapTypeWord[static_cast<size_t>(x.lap_type_code)];
  for (const KSeriesLap& lap : x.laps) {
    const auto row = [&](std::initializer_list<int32_t> values, std::string first = "") {
      std::string text = first;
      for (int32_t v : values) {
        if (!text.empty()) text += '\t';
        text += std::to_string(v);
      }
      line(text);
    };
    const bool recovery = x.extended_laps;
    row({lap.heart_rate, 0, lap.average, lap.maximum}, Time(lap.tenths));
    row({lap_word, recovery ? lap.recovery_seconds : 0,
         recovery && lap.recovery_rate != 252 ? lap.recovery_rate : 0,
         speed ? Round(lap.speed / 1.6) : 0, speed && cadence ? lap.cadence : 0,
         altitude ? lap.altitude : 0});
    row({0, 0, 0, 0, 0});
    row({recovery ? 1 : 0, speed ? lap.distance * 100 : 0, speed && power ? lap.power : 0,
         altitude ? lap.temperature * 10 : 0, recovery ? lap.recovery_rate * 256 + lap.extra : 0,
         0});
    row({0, 0, 0, 0, 0, 0});
  }
  line("");
  if (extended) {
    line("[Trip]");
    for (int32_t v :
         {x.trip_value, x.trip_value2, x.duration_tenths / 10, altitude ? x.altitude_summary[1] : 0,
          altitude ? x.altitude_summary[2] : 0, speed ? Round(x.average_speed / 1.6) : 0,
          speed ? Round(x.maximum_speed / 1.6) : 0, x.trip_counter}) {
      line(std::to_string(v));
    }
    line("");
  }
  out += "[HRData]\r\n";
  int32_t previous = 0;
  for (const KSeriesSample& s : x.samples) {
    // A limit swap takes the place of a heart rate: the unit repeats the one before it.
    const int32_t heart_rate = s.limit_swap >= 0 ? previous : s.heart_rate;
    previous = heart_rate;
    std::string text = std::to_string(heart_rate);
    if (extended) {
      if (speed) text += '\t' + std::to_string(static_cast<int32_t>(s.speed / 1.6 + 0.501));
      if (cadence) text += '\t' + std::to_string(s.cadence);
      if (altitude) text += '\t' + std::to_string(s.altitude);
      if (power) {
        text += '\t' + std::to_string(s.power);
        text += '\t' + std::to_string((s.pedal_a / 2) * 256 + Round(s.pedal_b / 2.0));
      }
    }
    line(text);
  }
  return out;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DownloadToHrm : public SimUnitTest {
 protected:
  DownloadToHrm() : SimUnitTest(kType, kVersion) {}

  void SetUp() override {
    SimUnitTest::SetUp();
    dir_ = fs::temp_directory_path() /
           ("quibra-e2e-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
    exercises_ = {HeartRateOnly(), SpeedCadenceAltitude(), SpeedPowerWithSwaps()};
    image_ = sim::KSeriesSingleImage(exercises_, kType, kProductCode, kVersion);
    ASSERT_TRUE(unit_.set_exercise_memory(image_));
    // The user settings read with the exercises: the maximum heart rate is read image byte 14
    // and the weight byte 8, five bytes into the answer.
    std::vector<uint8_t> user(unit_.image(9006, 0).size());
    ASSERT_GT(user.size(), 9u);
    user[9] = kUserMaxHR;
    user[3] = kUserWeightKg;
    ASSERT_TRUE(unit_.set_image(9006, 0, user));
  }
  void TearDown() override {
    SimUnitTest::TearDown();
    fs::remove_all(dir_);
  }
  std::string save(int32_t n) {
    const std::string path = (dir_ / ("ex" + std::to_string(n) + ".hrm")).string();
    char buffer[260] = {};
    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 1);
    return ReadFile(path);
  }

  fs::path dir_;
  std::vector<KSeriesExercise> exercises_;
  std::vector<uint8_t> image_;
};

TEST_F(DownloadToHrm, ThreeExercisesBecomeTheirHrmFiles) {
  ASSERT_GT(image_.size(), 3 * sim::Unit::kPacketData);  // a train of several packets
  open();
  ASSERT_EQ(fnQuibra_ReadExercisesData(0, 0), 1);
  ASSERT_EQ(fnKx2GetNbrOfMemtrBytes(), static_cast<int32_t>(image_.size()));
  for (int32_t n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    ASSERT_EQ(fnQuibra_AnalyzeFile(n, 0), 1);
    EXPECT_EQ(save(n), ExpectedHrm(exercises_[static_cast<size_t>(n)]));
  }
  EXPECT_EQ(fnQuibra_GetNbrOfSwapTimes(), 3);  // the last exercise's swaps
}

}  // namespace
}  // namespace quibra::testing

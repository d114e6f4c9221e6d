// The tool's exercise formats on hand-written HRM texts: the reader takes CR LF and LF, files
// without the optional blocks and with blocks of other programs, and names the line it cannot
// read; CSV and JSON of a small exercise are exactly the texts below.
#include <gtest/gtest.h>

#include <string>

#include "activity_from_model.h"
#include "csv_writer.h"
#include "hrm_reader.h"
#include "json_writer.h"

namespace quibra::testing {
namespace {

using namespace cli::formats;

// Speed, altitude and air pressure at 15 s, two laps, the blocks of another program between.
constexpr const char* kHike =
    "[Params]\nVersion=106\nMonitor=21\nSMode=101000101\nDate=20250802\nStartTime=06:05:00.5\n"
    "Length=00:01:00.0\nInterval=15\nUpper1=150\nLower1=110\nTimer1=00:00:00.0\nMaxHR=190\n"
    "Color=blue\n\n"
    "[Note]\nMorning hike\n\n"
    "[IntTimes]\n00:00:30.0\t120\t0\t115\t130\n0\t0\t0\t123\t0\t1200\n0\t0\t0\t0\t0\n"
    "0\t400\t0\t-50\t0\t8000\n0\t0\t0\t0\t0\t0\n"
    "00:01:00.0\t125\t0\t118\t135\n0\t0\t0\t130\t0\t1210\n0\t0\t0\t0\t0\n"
    "0\t800\t0\t-40\t0\t8010\n0\t0\t0\t0\t0\t0\n\n"
    "[SwapTimes]\n00:00:10.0\t1\n\n"
    "[Trip]\n1\n2\n60\n4\n5\n6\n7\n8\n\n"
    "[HRData]"
    "\n100\t120\t1200\t8000\n110\t0\t1210\t8001\n120\t360\t1205\t8002\n130\t360\t1220\t8003";

std::string Crlf(std::string text) {
  for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 2))
    text.replace(i, 1, "\r\n");
  return text;
}

ExerciseModel Read(const std::string& text) {
  HrmReadError error;
  auto model = ReadHrmText(text, error);
  EXPECT_TRUE(model) << error.Text();
  return model.value_or(ExerciseModel{});
}

TEST(HrmReader, ReadsEveryBlockWithEitherLineEnd) {
  const ExerciseModel m = Read(kHike);
  EXPECT_EQ(Read(Crlf(kHike)), m);
  EXPECT_EQ(m.params.version, 106);
  EXPECT_EQ(m.params.start_tenths, (6 * 3600 + 5 * 60) * 10 + 5);
  EXPECT_EQ(m.params.upper[0], 150);
  EXPECT_EQ(m.params.max_hr, 190);
  EXPECT_TRUE(m.has_speed() && m.has_altitude() && m.has_pressure() && !m.has_cadence());
  EXPECT_EQ(m.note, "Morning hike");
  ASSERT_EQ(m.laps.size(), 2u);
  EXPECT_EQ(m.laps[1].split_tenths(), 600);
  EXPECT_EQ(m.laps[1].speed(), 130);
  EXPECT_EQ(m.laps[1].temperature_tenths(), -40);
  EXPECT_EQ(m.laps[1].rows[3][5], 8010);
  EXPECT_EQ(m.trip, (std::array<int32_t, 8>{1, 2, 60, 4, 5, 6, 7, 8}));
  ASSERT_EQ(m.samples.size(), 4u);
  EXPECT_EQ(m.samples[3],
            (Sample{.heart_rate = 130, .speed = 360, .altitude = 1220, .pressure = 8003}));
  // Only [Params] is needed: a file of the heart rate alone.
  const ExerciseModel bare =
      Read("[Params]\r\nSMode=000000000\r\nInterval=5\r\n[HRData]\r\n99\r\n");
  EXPECT_FALSE(bare.trip);
  EXPECT_TRUE(bare.laps.empty());
  EXPECT_EQ(bare.samples, std::vector<Sample>{{.heart_rate = 99}});
}

TEST(HrmReader, NamesTheLineItCannotRead) {
  const struct {
    std::string text;
    int line;
    const char* reason;
  } kCases[] = {
      {"[Params]\nDate=2025x\n", 2, "Date is not a whole number"},
      {"[Params]\nStartTime=6:61:00.0\n", 2, "StartTime is not a time"},
      {"[Params]\nSMode=1012\n", 2, "SMode digits are 0 or 1"},
      {"[Params]\nSMode=100000100\n[HRData]\n1\t2\n3\n", 5, "1 values where the SMode names 2"},
      {"[Params]\n[IntTimes]\n00:00:30.0\t1\n0\n[HRData]\n", 3, "has 2 of its 5 rows"},
      {"[Params]\n[IntTimes]\n30\t1\n", 3, "does not start with its time"},
      {"[Params]\n[Trip]\n1\n2\n3\n4\n5\n6\n7\n8\n9\n", 11, "more than 8 trip values"},
      {"Version=106\n", 1, "a line before the first block"},
      {"[HRData]\n100\n", 0, "no [Params] block"},
  };
  for (const auto& c : kCases) {
    HrmReadError error;
    EXPECT_FALSE(ReadHrmText(c.text, error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.Text();
  }
}

TEST(ExerciseWriters, CsvAndJsonOfASmallExercise) {
  ExerciseModel m = Read(kHike);
  m.samples.resize(2);
  m.laps.resize(1);
  EXPECT_EQ(CsvText(m),
            "time_s,heart_rate_bpm,speed_kmh,altitude_m,air_pressure\n"
            "0,100,12.0,1200,8000\n15,110,0.0,1210,8001\n");
  m.params.interval = kRrInterval;
  m.samples = {{.heart_rate = 500}, {.heart_rate = 750}};
  EXPECT_EQ(CsvText(m),
            "time_s,rr_ms,heart_rate_bpm,speed_kmh,altitude_m,air_pressure\n"
            "0.500,500,120,0.0,0,0\n1.250,750,80,0.0,0,0\n");
  m.params.interval = 15;
  m.params.smode = {};
  m.trip.reset();
  const std::string json = JsonText(m);
  EXPECT_NE(json.find(R"("Date": "2025-08-02",)"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("StartTime": "06:05:00.5",)"), std::string::npos);
  EXPECT_NE(json.find(R"("Note": "Morning hike",)"), std::string::npos);
  EXPECT_NE(json.find("\"Speed\": 12.3,"), std::string::npos);
  EXPECT_NE(json.find("\"Temperature\": -5.0,"), std::string::npos);
  EXPECT_NE(json.find("\"Samples\": [\n    {\n      \"Seconds\": 0,\n      \"HeartRate\": 500\n"
                      "    },\n    {\n      \"Seconds\": 15,\n      \"HeartRate\": 750\n"),
            std::string::npos)
      << json;
  EXPECT_EQ(json.find("Trip"), std::string::npos);
}

TEST(ExerciseWriters, TheActivityIsInSiUnitsAndCoversTheExercise) {
  const Activity a = ActivityFromModel(Read(kHike));
  EXPECT_EQ(a.start_unix_s, 1754114700);  // 2025-08-02 06:05:00
  EXPECT_EQ(a.sport, Sport::kGeneric);
  ASSERT_EQ(a.points.size(), 4u);
  EXPECT_DOUBLE_EQ(a.points[2].time_s, 30);
  EXPECT_DOUBLE_EQ(*a.points[2].speed_mps, 10);
  EXPECT_DOUBLE_EQ(*a.points[3].distance_m, 15 * 10 + 15 * 10);
  EXPECT_FALSE(a.points[0].cadence_rpm);
  ASSERT_EQ(a.laps.size(), 2u);
  EXPECT_DOUBLE_EQ(a.laps[1].start_s, 30);
  EXPECT_DOUBLE_EQ(a.laps[1].distance_m, 800);
  EXPECT_EQ(a.laps[1].average_heart_rate, 118);
  EXPECT_DOUBLE_EQ(a.laps[1].ascent_m, 15);
  EXPECT_EQ(SportOfMonitor(37), Sport::kRunning);
  EXPECT_EQ(SportOfMonitor(33), Sport::kCycling);
}

}  // namespace
}  // namespace quibra::testing

// The tool's FIT files as the FIT SDK reads them: every sample, lap and R-R interval written
// comes back with the same values, the channels an exercise lacks stay absent, the summaries
// add up, and the decoder reports no error and a good CRC.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "fit_activity.h"
#include "support/test_folder.h"
#include "tools/formats/format_check.h"

namespace {

using namespace quibra::cli::formats;
using nlohmann::json;
using quibra::testing::kStart;
using quibra::testing::RideActivity;
using quibra::testing::RrActivity;

constexpr int64_t kFitStart = kStart - 631065600;

// The messages the SDK decoded from the file, after its verdict: a good file, no decoder error,
// no field it did not know (such a one would come under its number).
json DecodedBySdk(const Activity& a, const std::string& name) {
  const std::string path = quibra::testing::TestFolder() + "/" + name + ".fit";
  quibra::testing::WriteFile(path, EncodeFitActivity(a));
  const std::string out = quibra::testing::OutputOf("node " QUIBRA_FIT_CHECK_SCRIPT " " + path);
  EXPECT_FALSE(out.empty()) << "the FIT SDK check did not run on " << path;
  json decoded = out.empty() ? json() : json::parse(out);
  EXPECT_EQ(decoded["integrity"], true);
  EXPECT_EQ(decoded["errors"], json::array());
  for (const auto& [kind, messages] : decoded["messages"].items())
    for (const json& message : messages)
      for (const auto& [key, value] : message.items())
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(key[0]))) << kind << " field " << key;
  return decoded["messages"];
}

// A channel of a sample: absent when the sample lacks it, else within the scale's resolution.
template <typename T>
void ExpectChannel(json& record, const char* name, const std::optional<T>& value,
                   double resolution) {
  if (!value) {
    EXPECT_FALSE(record.contains(name)) << name;
    return;
  }
  ASSERT_TRUE(record.contains(name)) << name;
  EXPECT_NEAR(record[name].get<double>(), double(*value), resolution / 2 + 1e-9) << name;
}

void ExpectSamples(json& records, const Activity& a) {
  ASSERT_EQ(records.size(), a.points.size());
  for (size_t i = 0; i < a.points.size(); ++i) {
    SCOPED_TRACE("sample " + std::to_string(i));
    const ActivityPoint& p = a.points[i];
    json& r = records[i];
    EXPECT_EQ(r["timestamp"], kFitStart + std::lround(p.time_s));
    ExpectChannel(r, "heartRate", p.heart_rate, 1);
    ExpectChannel(r, "speed", p.speed_mps, 0.001);
    ExpectChannel(r, "distance", p.distance_m, 0.01);
    ExpectChannel(r, "altitude", p.altitude_m, 0.2);
    ExpectChannel(r, "cadence", p.cadence_rpm, 1);
    ExpectChannel(r, "power", p.power_w, 1);
  }
}

// File id, timer events, session and activity, as every exercise has them.
void ExpectFrame(json& m, const Activity& a, const char* sport) {
  const int64_t end = kFitStart + std::lround(a.duration_s);
  EXPECT_EQ(m["fileIdMesgs"], json::parse(R"([{"type": "activity", "manufacturer": "development",
                                              "timeCreated": )" +
                                          std::to_string(kFitStart) + "}]"));
  EXPECT_EQ(m["eventMesgs"],
            json::array({{{"timestamp", kFitStart}, {"event", "timer"}, {"eventType", "start"}},
                         {{"timestamp", end}, {"event", "timer"}, {"eventType", "stopAll"}}}));
  json& s = m["sessionMesgs"].at(0);
  EXPECT_EQ(m["sessionMesgs"].size(), 1u);
  EXPECT_EQ(s["sport"], sport);
  EXPECT_EQ(s["startTime"], kFitStart);
  EXPECT_EQ(s["timestamp"], end);
  EXPECT_NEAR(s["totalElapsedTime"].get<double>(), a.duration_s, 0.0005);
  EXPECT_EQ(s["numLaps"], m["lapMesgs"].size());
  EXPECT_EQ(m["activityMesgs"].at(0)["numSessions"], 1);
  EXPECT_EQ(m["activityMesgs"].at(0)["timestamp"], end);
}

class FitActivity : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!quibra::testing::Installed("node"))
      GTEST_SKIP() << "node is not installed: the FIT SDK cannot check the files";
  }
};

TEST_F(FitActivity, RrRecordingDecodesToTheSameSamplesAndIntervals) {
  const Activity a = RrActivity();
  json m = DecodedBySdk(a, "rr");
  ExpectSamples(m["recordMesgs"], a);
  ExpectFrame(m, a, "generic");

  std::vector<int32_t> rr_ms;
  for (json& hrv : m["hrvMesgs"]) {
    ASSERT_EQ(hrv["time"].size(), 5u);
    for (json& t : hrv["time"])
      if (!t.is_null()) rr_ms.push_back(static_cast<int32_t>(std::lround(t.get<double>() * 1000)));
  }
  EXPECT_EQ(rr_ms, a.rr_ms);

  // No laps of its own: one lap of the whole exercise, with the samples' heart rate (their
  // average worked out by hand) and no distance or ascent.
  EXPECT_EQ(m["lapMesgs"].size(), 1u);
  for (json* summary : {&m["lapMesgs"].at(0), &m["sessionMesgs"].at(0)}) {
    EXPECT_EQ((*summary)["startTime"], kFitStart);
    EXPECT_EQ((*summary)["avgHeartRate"], 72);  // 3091 / 43
    EXPECT_EQ((*summary)["maxHeartRate"], 86);
    EXPECT_FALSE(summary->contains("totalDistance") || summary->contains("totalAscent"));
  }
}

TEST_F(FitActivity, RideDecodesToTheSameSamplesAndLaps) {
  const Activity a = RideActivity();
  json m = DecodedBySdk(a, "ride");
  ExpectSamples(m["recordMesgs"], a);
  ExpectFrame(m, a, "cycling");
  EXPECT_FALSE(m.contains("hrvMesgs"));

  ASSERT_EQ(m["lapMesgs"].size(), a.laps.size());
  for (size_t i = 0; i < a.laps.size(); ++i) {
    const ActivityLap& l = a.laps[i];
    json& lap = m["lapMesgs"][i];
    EXPECT_EQ(lap["messageIndex"], i);
    EXPECT_EQ(lap["startTime"], kFitStart + std::lround(l.start_s));
    EXPECT_EQ(lap["timestamp"], kFitStart + std::lround(l.start_s + l.duration_s));
    EXPECT_NEAR(lap["totalElapsedTime"].get<double>(), l.duration_s, 0.0005);
    EXPECT_NEAR(lap["totalDistance"].get<double>(), l.distance_m, 0.005);
    EXPECT_EQ(lap["avgHeartRate"], l.average_heart_rate);
    EXPECT_EQ(lap["maxHeartRate"], l.maximum_heart_rate);
    EXPECT_EQ(lap["totalAscent"], std::lround(l.ascent_m));
    EXPECT_EQ(lap["sport"], "cycling");
    EXPECT_EQ(lap["lapTrigger"], i + 1 == a.laps.size() ? "sessionEnd" : "manual");
  }
  json& s = m["sessionMesgs"][0];
  EXPECT_NEAR(s["totalDistance"].get<double>(), a.points.back().distance_m.value(), 0.005);
  EXPECT_EQ(s["maxHeartRate"], 170);  // the last sample's
  EXPECT_EQ(s["totalAscent"], 156);
}

}  // namespace

// The outdoor units' settings groups and logo read as a user runs them against a simulated
// unit: --type picks the groups, numbered groups count from 1, and a logo read back into a PNG
// packs to the same bytes as the picture that was sent.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "serial_link.h"
#include "support/cli_run.h"
#include "unit.h"

namespace {

using quibra::testing::CliRun;
using quibra::testing::RunCli;

nlohmann::json JsonOf(const CliRun& run) {
  return nlohmann::json::parse(run.output, nullptr, false);
}

// The packed bytes a dry run prints, from the header on.
std::string Packed(const CliRun& run) {
  const size_t at = run.output.find("message 9050");
  return at == std::string::npos ? "" : run.output.substr(at);
}

TEST(OutdoorCli, SettingsGroupsAndLogoRead) {
  quibra::sim::Unit unit(20, 0);
  quibra::sim::SerialLink line(unit);
  const std::string port = " --type 20 --port " + line.start();

  const CliRun set = RunCli("settings set reminder 3 --from-defaults" + port +
                            " <<< '{\"ReminderText\": \"Train\", \"ReminderOn\": 1}'");
  ASSERT_EQ(set.exit_code, 0) << set.output;
  auto json = JsonOf(RunCli("settings get reminder 3" + port + " 2>/dev/null"));
  EXPECT_EQ(json["ReminderNumber"], 2);
  EXPECT_EQ(json["ReminderText"], "TRAIN");
  EXPECT_EQ(json["ReminderOn"], 1);

  ASSERT_EQ(RunCli("settings set calibration 5 --from-defaults" + port +
                   " <<< '{\"PointOn\": 1, \"AltitudeM\": 1000, \"PointName\": \"hut\"}'")
                .exit_code,
            0);
  json = JsonOf(RunCli("settings get calibration 5" + port + " 2>/dev/null"));
  EXPECT_EQ(json["AltitudeFt"], 3281);
  EXPECT_EQ(json["PointName"], "HUT");

  // The outdoor watch settings, not the older units' record of the same name.
  EXPECT_TRUE(JsonOf(RunCli("settings get watch" + port + " 2>/dev/null")).contains("Alarm3Text"));
  EXPECT_EQ(RunCli("settings get profile 1" + port + " 2>/dev/null").exit_code, 2);
  EXPECT_EQ(RunCli("settings get infotexts" + port + " 2>/dev/null").exit_code, 2);

  const auto folder =
      std::filesystem::temp_directory_path() / ("quibra-outdoor-cli-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string picture = (folder / "peak.pbm").string();
  const std::string back = (folder / "back.png").string();
  std::ofstream(picture) << "P1\n5 15\n"
                         << std::string(5, '1') << "\n"
                         << std::string(13 * 5, '0') << "\n10101\n";
  ASSERT_EQ(RunCli("logo send " + picture + port + " 2>/dev/null").exit_code, 0);
  const CliRun got = RunCli("logo get --out " + back + port + " 2>/dev/null");
  ASSERT_EQ(got.exit_code, 0) << got.output;
  const std::string sent = Packed(RunCli("logo send " + picture + " --type 20 --dry-run"));
  EXPECT_FALSE(sent.empty());
  EXPECT_EQ(Packed(RunCli("logo send " + back + " --type 20 --dry-run")), sent);
  EXPECT_EQ(RunCli("logo get --out " + back + " --type 19" + port.substr(10)).exit_code, 2);
  std::filesystem::remove_all(folder);
}

}  // namespace

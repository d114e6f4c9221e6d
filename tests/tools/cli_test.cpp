// The quibra program as a user runs it: the demo identifies its simulated unit through the
// library, and wrong arguments or a port without a unit end with an error code.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "encoders/k_series_encoder.h"
#include "serial_link.h"
#include "support/cli_run.h"
#include "support/pty_pair.h"
#include "unit.h"

namespace {

using quibra::testing::CliRun;
using quibra::testing::RunCli;

// A file or directory of this test alone: other checkouts run the same suite side by side.
std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + name + "-" + std::to_string(getpid());
}

// Whether the program printed the text; everything it printed when not.
::testing::AssertionResult Printed(const CliRun& run, const std::string& text) {
  if (run.output.find(text) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no \"" << text << "\" in:\n" << run.output;
}

TEST(Cli, DemoIdentifiesTheSimulatedUnitAndTracesTheConversation) {
  const std::string trace = Scratch("quibra-cli-trace.txt");
  std::remove(trace.c_str());
  const CliRun run = RunCli("--trace " + trace + " demo");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  std::ifstream file(trace);
  const std::string traced((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(traced.find(" status 9021 10\n"), std::string::npos) << traced;
  EXPECT_NE(traced.find(" status 9011 10\n"), std::string::npos);  // the exercise memory came
  std::remove(trace.c_str());
  EXPECT_TRUE(Printed(run, "Reading..."));
  EXPECT_TRUE(Printed(run, "Found: Orvek K55T (monitor type 22, variant 3, product code 19)"));
  EXPECT_TRUE(Printed(run,
                      "quibra-demo/exercise-3.hrm  2026-11-30 18:15:00  00:40:00    480 "
                      "samples   13 laps"));
}

TEST(Cli, SettingsTravelAsJson) {
  quibra::sim::Unit unit(22, 1);
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const CliRun sent =
      RunCli("settings set user --port " + port + " <<< '{\"Name\": \"Anna\", \"HeightCm\": 182}'");
  ASSERT_EQ(sent.exit_code, 0) << sent.output;
  const CliRun read = RunCli("settings get user --port " + port + " 2>/dev/null");
  ASSERT_EQ(read.exit_code, 0) << read.output;
  const auto json = nlohmann::json::parse(read.output.substr(read.output.find('{')));
  EXPECT_EQ(json["Name"], "Anna");
  EXPECT_EQ(json["HeightCm"], 182);
  EXPECT_EQ(json["HeightFeet"], 6);  // completed as the unit keeps it
  // A numbered group goes to and comes from the place its number names.
  const CliRun tempo =
      RunCli("settings set profile 3 --port " + port + " <<< '{\"ProfileName\": \"Tempo\"}'");
  ASSERT_EQ(tempo.exit_code, 0) << tempo.output;
  const CliRun profile = RunCli("settings get profile 3 --port " + port + " 2>/dev/null");
  ASSERT_EQ(profile.exit_code, 0) << profile.output;
  const auto profile_json = nlohmann::json::parse(profile.output.substr(profile.output.find('{')));
  EXPECT_EQ(profile_json["ProfileNumber"], 3);
  EXPECT_EQ(profile_json["ProfileName"], "Tempo");
  EXPECT_EQ(RunCli("settings get limits --port " + port).exit_code, 2);
  EXPECT_EQ(RunCli("settings set user --port " + port + " <<< '{\"Nope\": 1}'").exit_code, 2);
  EXPECT_EQ(RunCli("settings set profile 8 --port " + port).exit_code, 2);
}

TEST(Cli, IdentifyPrintsTheWholeRecordAndDumpNeedsANewerUnit) {
  quibra::sim::Unit unit(23, 4);
  quibra::sim::Identification id = unit.identification();
  id.files = 5;
  id.used_memory = 250;
  unit.set_identification(id);
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const CliRun run = RunCli("identify --port " + port + " 2>/dev/null");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_TRUE(Printed(run,
                      "Size = 40\nMonitorInUse = 23\nDataVersion = 4\nTotalFiles = 5\n"
                      "FreeMemoryInBytes = 32000\nTotalMemoryInBytes = 32250\n"
                      "LowBattery = 0\nHorseMode = 0\nN4SensorMissing = 0\n"
                      "MonitorSubModel = 37\n"));
  const CliRun dump = RunCli("dump-memory --out /dev/null --port " + port);
  EXPECT_EQ(dump.exit_code, 1);
  EXPECT_TRUE(Printed(dump, "(monitor type 23) has no memory to dump"));
  EXPECT_EQ(RunCli("dump-memory --port " + port).exit_code, 2);
  EXPECT_EQ(RunCli("dump-memory --out x --port " + port + " --link radio").exit_code, 2);
}

TEST(Cli, ReachesANewerUnitOverIrda) {
  // The unit's line carries the short form; the tool puts it in range of a stand-in IrDA stack.
  quibra::sim::Unit unit(36, 2, 172);
  quibra::sim::SerialLink line(unit, false, quibra::sim::SerialLink::kDefaultTurnaround,
                               quibra::sim::SerialLink::Framing::ShortFormBlocks);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const CliRun run = RunCli("identify --link irda --port " + port + " 2>/dev/null");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_TRUE(Printed(run, "Orvek PR6 (monitor type 36, variant 2, product code 172)"));
  const CliRun contrast =
      RunCli("command lcd-contrast 9 --type 36 --link irda --port " + port + " 2>&1");
  EXPECT_EQ(contrast.exit_code, 0) << contrast.output;
  EXPECT_EQ(unit.memory(5, 1), std::vector<uint8_t>{9});
  // Without a simulated unit the tool asks this system's IrDA stack, and there is none.
  const CliRun none = RunCli("identify --link irda");
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_TRUE(Printed(none, "cannot open IrDA sockets (socket error 10047)"));
}

TEST(Cli, ASimulatedUnitsSoundIsReceivedFromAWaveFile) {
  const std::string dir = ::testing::TempDir();
  // "quibra" and 0x00..0x0F: 22 bytes in one Reed-Solomon block.
  {
    std::ofstream payload(dir + "payload.bin", std::ios::binary);
    payload << "quibra";
    for (char c = 0; c < 16; ++c)
      payload.put(c);
  }
  const CliRun made = RunCli("sound unit --coded --type 30 --payload " + dir +
                             "payload.bin --out " + dir + "unit.wav");
  ASSERT_EQ(made.exit_code, 0) << made.output;
  EXPECT_TRUE(Printed(made, "22 bytes as"));
  const CliRun heard = RunCli("sound receive --type 30 --wav " + dir + "unit.wav");
  ASSERT_EQ(heard.exit_code, 0) << heard.output;
  EXPECT_TRUE(Printed(heard,
                      "payload: 22 bytes\n71 75 69 62 72 61 00 01 02 03 04 05 06 07 08 09"
                      "\n0A 0B 0C 0D 0E 0F\n"));
  // At 22 050 Hz the same wave file is refused as a recording format.
  EXPECT_EQ(RunCli("sound receive --type 30 --rate 22050 --wav " + dir + "unit.wav").exit_code, 1);
  EXPECT_EQ(RunCli("sound receive --type 30 --wav /nonexistent.wav").exit_code, 1);
  EXPECT_EQ(RunCli("sound unit --out x.wav").exit_code, 2);
}

TEST(Cli, RefusesWhatItCannotDo) {
  EXPECT_EQ(RunCli("").exit_code, 2);
  EXPECT_EQ(RunCli("identify").exit_code, 2);
  EXPECT_EQ(RunCli("identify --port /dev/null --link radio").exit_code, 2);
  const CliRun missing = RunCli("identify --port /nonexistent/tty");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(Printed(missing, "cannot open port /nonexistent/tty: No such file"));
  EXPECT_EQ(RunCli("sim --type 99").exit_code, 2);
}

TEST(Cli, ADamagedExerciseIsReportedAndTheOthersSaved) {
  std::vector<uint8_t> image =
      quibra::sim::KSeriesSingleImage(std::vector<quibra::sim::KSeriesExercise>(3), 22, 19, 1);
  // Memory positions count from 1; the second exercise's month byte says 13.
  const auto at = [&](int32_t position) -> uint8_t& { return image[position - 1]; };
  const int32_t second = 4 + (at(5) | (at(6) & 0x7F) << 8);
  at(second + 16) = 0x0D;
  const std::string dir = Scratch("quibra-cli-damaged");
  const std::string bin = dir + ".bin";
  {
    std::ofstream file(bin, std::ios::binary);
    file.put(0);  // a binary memory file starts one byte before position 1
    file.write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
  }
  const CliRun run = RunCli("decode " + bin + " --out " + dir);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(Printed(run, "quibra: exercise 2: bad start date (month 13)\n"));
  EXPECT_TRUE(Printed(run, dir + "/exercise-3.hrm"));
  EXPECT_FALSE(Printed(run, dir + "/exercise-2.hrm"));
  std::remove(bin.c_str());
  std::filesystem::remove_all(dir);
}

TEST(Cli, NothingWaitsForEverAndNoFailureEndsAsSuccess) {
  const auto start = std::chrono::steady_clock::now();
  const std::string out = Scratch("quibra-cli-nothing-waits");
  const CliRun null_port = RunCli("download --port /dev/null --out " + out + " < /dev/null");
  EXPECT_EQ(null_port.exit_code, 1);
  EXPECT_TRUE(Printed(null_port, "port /dev/null is not a terminal device"));
  // A line with nobody at the other end: the acknowledgement never comes.
  quibra::testing::PtyPair silent;
  ASSERT_TRUE(silent.ok());
  const CliRun command =
      RunCli("command factory-defaults --type 22 --port " + silent.slave_name() + " < /dev/null");
  EXPECT_EQ(command.exit_code, 1);
  EXPECT_TRUE(Printed(command, "No answer from HR Monitor\nquibra: factory-defaults failed"));
  // Without a terminal to ask, the download dialog takes Cancel after the failure.
  const CliRun download =
      RunCli("download --port " + silent.slave_name() + " --out " + out + " < /dev/null");
  EXPECT_EQ(download.exit_code, 1);
  EXPECT_TRUE(Printed(download, "No answer from HR Monitor\nquibra: the exercises were not"));
  // Five tries of each exchange, and a little more.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace

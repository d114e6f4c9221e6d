// `quibra command` as a user runs it against a simulated unit on a pseudo-terminal.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "serial_link.h"
#include "support/cli_run.h"
#include "unit.h"

namespace {

using quibra::testing::CliRun;

CliRun RunCommand(const std::string& arguments) {
  return quibra::testing::RunCli("command " + arguments);
}

TEST(UnitCommandCli, WritesAServiceValueAndReadsCounters) {
  quibra::sim::Unit unit(20, 0);
  const std::vector<uint8_t> counters = {0x39, 0x30};  // counter 0 = 12345
  unit.set_memory(132, counters);
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());

  // The type is asked from the unit: type 20 takes the contrast with page byte 16.
  CliRun run = RunCommand("lcd-contrast 9 --port " + port);
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(unit.memory(5, 1), std::vector<uint8_t>{9});

  run = RunCommand("usage-counters --port " + port);
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("counter  0: 12345"), std::string::npos) << run.output;

  // Refused by the library, or not confirmed (no terminal to ask on, no --yes): nothing
  // reaches the unit.
  unit.clear_requests();
  run = RunCommand("lcd-contrast 15 --port " + port + " --type 11");
  EXPECT_EQ(run.exit_code, 1) << run.output;
  for (const char* erasing : {"factory-defaults", "delete-file -1"}) {
    run = RunCommand(std::string(erasing) + " --type 20 --port " + port + " < /dev/null");
    EXPECT_EQ(run.exit_code, 2) << run.output;
    EXPECT_NE(run.output.find("add --yes"), std::string::npos) << run.output;
  }
  EXPECT_TRUE(unit.requests().empty());
  line.stop();
}

TEST(UnitCommandCli, WrongArgumentsShowTheUsage) {
  EXPECT_EQ(RunCommand("").exit_code, 2);
  EXPECT_EQ(RunCommand("hour-mode --port /dev/null").exit_code, 2);
  EXPECT_EQ(RunCommand("reboot --port /dev/null").exit_code, 2);
  EXPECT_EQ(RunCommand("sleep").exit_code, 2);
  EXPECT_EQ(RunCommand("sleep --port /dev/null --type 100").exit_code, 2);
}

}  // namespace

// `quibra fitness` and `quibra counters` as a user runs them: against a simulated J9 unit on a
// pseudo-terminal, and on a saved exercise memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "serial_link.h"
#include "sim/encoders/fitness_encoders.h"
#include "support/cli_run.h"
#include "unit.h"

namespace {

using quibra::testing::RunCli;

TEST(FitnessCli, ListsSummariesTestsAndTheProgramme) {
  quibra::sim::J9Contents contents;
  quibra::sim::J9Exercise run;
  run.name = "RUN";
  run.year = 2024;
  run.month = 5;
  run.day = 17;
  run.start_seconds = 7 * 3600;
  run.duration_seconds = 1800;
  contents.exercises = {run};
  contents.fitness_tests = {{2024, 4, 2, 47}};
  contents.relaxation_tests = {{2024, 4, 3, 12}};
  quibra::sim::Unit unit(27, 0);
  ASSERT_TRUE(unit.set_memory(0, quibra::sim::J9Memory(contents)));
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());

  auto out = RunCli("fitness list --port " + port);
  EXPECT_EQ(out.exit_code, 0) << out.output;
  EXPECT_NE(out.output.find("2024-05-17 07:00:00  00:30:00  RUN"), std::string::npos) << out.output;
  out = RunCli("fitness tests --port " + port + " --json");
  EXPECT_EQ(out.exit_code, 0) << out.output;
  EXPECT_NE(out.output.find("\"Value\": 47"), std::string::npos) << out.output;
  EXPECT_NE(out.output.find("\"Value\": 12"), std::string::npos) << out.output;
  out = RunCli("fitness program --port " + port);
  EXPECT_EQ(out.exit_code, 0) << out.output;
  EXPECT_NE(out.output.find("\"Entries\""), std::string::npos) << out.output;
}

TEST(FitnessCli, CountersOfASavedMemory) {
  // A saved memory: byte k is position k. Counter 5000 of type 30 is the 16-bit value at 82.
  std::vector<char> bytes(401, 0);
  bytes[82] = 0x34;
  bytes[83] = 0x12;
  const auto path =
      std::filesystem::temp_directory_path() /
      ("quibra-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
       ".bin");
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
  auto out = RunCli("counters " + path.string() + " --type 30 --json");
  EXPECT_EQ(out.exit_code, 0) << out.output;
  EXPECT_NE(out.output.find("\"5000\": 4660"), std::string::npos) << out.output;
  EXPECT_EQ(out.output.find("\"5009\""), std::string::npos) << out.output;  // type 31's only
  out = RunCli("counters " + path.string());
  EXPECT_NE(out.exit_code, 0);  // a file does not say which unit it came from
  std::filesystem::remove(path);
}

}  // namespace

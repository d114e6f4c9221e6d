// The quibra program as a user runs it: the demo identifies its simulated unit through the
// library, and wrong arguments or a port without a unit end with an error code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct CliRun {
  int exit_code = -1;
  std::string output;
};

CliRun RunCli(const std::string& arguments) {
  CliRun run;
  const std::string command = std::string(QUIBRA_CLI_PROGRAM) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 256> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
    run.output += buffer.data();
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(Cli, DemoIdentifiesTheSimulatedUnit) {
  const CliRun run = RunCli("demo");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("Reading..."), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Found: Orvek K55T (monitor type 22, variant 3, product code 19)"),
            std::string::npos)
      << run.output;
}

TEST(Cli, RefusesWhatItCannotDo) {
  EXPECT_EQ(RunCli("").exit_code, 2);
  EXPECT_EQ(RunCli("identify").exit_code, 2);
  EXPECT_EQ(RunCli("identify --port /dev/null --link radio").exit_code, 2);
  const CliRun missing = RunCli("identify --port /nonexistent/tty");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.output.find("cannot open /nonexistent/tty"), std::string::npos);
  EXPECT_EQ(RunCli("sim --type 99").exit_code, 2);
}

}  // namespace

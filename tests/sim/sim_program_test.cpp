// quibra-sim as a user runs it: it prints the device path, answers on it (serial or IrDA
// frames), serves the exercises it is given, ends cleanly on SIGTERM, and refuses options it
// cannot take with the reason.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "irda_pty_peer.h"
#include "pty_port.h"
#include "sim_bytes.h"
#include "support/cli_run.h"
#include "support/test_folder.h"

extern char** environ;

namespace quibra::sim {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

// The program with its standard output and error on one pipe.
struct Running {
  pid_t pid = -1;
  int out = -1;
};

Running Spawn(std::vector<std::string> args) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> argv;
  args.insert(args.begin(), QUIBRA_SIM_PROGRAM);
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, QUIBRA_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  return {pid, fds[0]};
}

std::string ReadLine(int fd) {
  std::string line;
  char ch = 0;
  while (read(fd, &ch, 1) == 1 && ch != '\n')
    line.push_back(ch);
  return line;
}

int WaitExit(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs the unit, hands its device path to `use`, and stops it with SIGTERM.
void WithUnit(const std::vector<std::string>& args, const std::function<void(std::string)>& use) {
  const Running sim = Spawn(args);
  ASSERT_GT(sim.pid, 0);
  const std::string path = ReadLine(sim.out);
  close(sim.out);
  EXPECT_FALSE(path.empty());
  if (!path.empty()) use(path);
  kill(sim.pid, SIGTERM);
  EXPECT_EQ(WaitExit(sim.pid), 0);
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SimProgram, PutsAUnitOnALineAndStopsOnSigterm) {
  // A K60 of variant 3 on a serial line.
  WithUnit({"--type", "12", "--variant", "3"}, [](const std::string& path) {
    testing::Port port(path);
    ASSERT_TRUE(port.ok());
    port.send(testing::kRead9021, true);
    EXPECT_EQ(port.receive(13), (Bytes{0x5C, 0x15, 0x00, 0x00, 0x0B, 0x22, 0x30, 0x00, 0x00, 0x00,
                                       0x00, 0xE9, 0x1C}));
  });
  // A PR6 made to report the PR9's product code (0xAD), on an IrDA line: a serial request sent
  // there first goes unanswered, and the frames after it are served.
  WithUnit({"--type=36", "--variant=2", "--product-code", "173", "--irda"},
           [](const std::string& path) {
             testing::Port(path).send(testing::kRead9021, false);
             IrdaPtyPeer peer(path);
             EXPECT_EQ(peer.device_name(), "Orvek PR6");
             const Bytes answer = peer.exchange(Bytes{0x15});
             ASSERT_EQ(answer.size(), 32u);
             EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 3), (Bytes{0x15, 0xAD, 0x00}));
           });
}

TEST(SimProgram, RefusesOptionsItCannotTakeWithTheReason) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const Case cases[] = {
      {{"--type", "24"}, "no simulated unit of type 24"},
      {{"--type", "22", "--variant", "16"}, "--variant"},
      {{"--type", "36", "--product-code", "256"}, "--product-code"},
      {{"--type", "x"}, "--type"},
      {{"--type", "22", "--fast"}, "--fast"},
      {{"--variant", "1"}, "--type is required"},
      {{"--type", "22", "--paced", "--irda"}, "excludes"},
      {{"--type", "22", "--exercises", "2", "--memory", "m.bin"}, "excludes"},
      {{"--type", "27", "--exercises", "2"}, "cannot be given 2 generated exercises"},
      {{"--type", "30", "--exercises", "2"}, "cannot be given 2 generated exercises"},
      {{"--type", "22", "--memory", "/nonexistent/memory.bin"}, "cannot read a saved memory"},
  };
  for (const Case& c : cases) {
    const Running sim = Spawn(c.args);
    ASSERT_GT(sim.pid, 0);
    std::string said;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(sim.out, buffer, sizeof buffer)) > 0)
      said.append(buffer, static_cast<size_t>(n));
    close(sim.out);
    EXPECT_EQ(WaitExit(sim.pid), 2) << c.args.back();
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
  }
  const Running help = Spawn({"--help"});
  ASSERT_GT(help.pid, 0);
  EXPECT_NE(ReadLine(help.out).find("simulated wrist unit"), std::string::npos);
  close(help.out);
  EXPECT_EQ(WaitExit(help.pid), 0);
}

// The names of the HRM files the tool saved in a folder (named by each exercise's date).
std::vector<std::string> HrmFiles(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".hrm") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SimProgram, ServesTheExercisesItIsGivenAndASavedMemory) {
  const fs::path dir = quibra::testing::TestFolder();
  // Made-up exercises of a K55T and of an outdoor unit, downloaded and decoded by the tool.
  const std::pair<const char*, int> units[] = {{"22", 3}, {"20", 2}};
  for (const auto& [type, count] : units) {
    WithUnit({"--type", type, "--variant", "3", "--exercises", std::to_string(count)},
             [&](const std::string& path) {
               const auto run = quibra::testing::RunCli("download --port " + path + " --out " +
                                                        (dir / type).string());
               EXPECT_EQ(run.exit_code, 0) << run.output;
             });
    EXPECT_EQ(HrmFiles(dir / type).size(), static_cast<size_t>(count)) << type;
  }
  // The memory the first download saved, served again, downloads as the same exercises.
  WithUnit({"--type", "22", "--variant", "3", "--memory", (dir / "22" / "memory.bin").string()},
           [&](const std::string& path) {
             const auto run = quibra::testing::RunCli("download --port " + path + " --out " +
                                                      (dir / "again").string());
             EXPECT_EQ(run.exit_code, 0) << run.output;
           });
  const std::vector<std::string> files = HrmFiles(dir / "22");
  ASSERT_EQ(HrmFiles(dir / "again"), files);
  for (const std::string& file : {files.front(), files.back(), std::string("memory.bin")}) {
    EXPECT_FALSE(Slurp(dir / "22" / file).empty()) << file;
    EXPECT_EQ(Slurp(dir / "again" / file), Slurp(dir / "22" / file)) << file;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quibra::sim

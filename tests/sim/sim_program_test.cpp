// quibra-sim as a user runs it: it prints the device path, answers on it, and ends cleanly on
// SIGTERM.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "pty_port.h"
#include "sim_bytes.h"

extern char** environ;

namespace quibra::sim {
namespace {

using testing::Bytes;

// Starts the program with its output on a pipe; returns its pid (or -1) and the read end.
pid_t Spawn(std::vector<std::string> args, int& out_fd) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
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
  out_fd = fds[0];
  return pid;
}

int WaitExit(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(SimProgram, PutsAUnitOnALineAndStopsOnSigterm) {
  struct Case {
    std::vector<std::string> args;
    Bytes answer;  // to the identification request
  };
  // A K60 of variant 3; a PR6 of variant 2 made to report the PR9's product code (0xAD).
  const Case cases[] = {
      {{"--type", "12", "--variant", "3"},
       {0x5C, 0x15, 0x00, 0x00, 0x0B, 0x22, 0x30, 0x00, 0x00, 0x00, 0x00, 0xE9, 0x1C}},
      {{"--type", "36", "--variant", "2", "--product-code", "173"},
       {0x5C, 0x15, 0x00, 0x00, 0x0B, 0xAD, 0x00, 0x20, 0x00, 0x00, 0x00, 0xC9, 0x14}},
  };
  for (const Case& c : cases) {
    int out = -1;
    const pid_t pid = Spawn(c.args, out);
    ASSERT_GT(pid, 0);
    std::string path;
    char ch = 0;
    while (read(out, &ch, 1) == 1 && ch != '\n')
      path.push_back(ch);
    close(out);
    ASSERT_FALSE(path.empty());
    {
      testing::Port port(path);
      ASSERT_TRUE(port.ok());
      port.send(testing::kRead9021, true);
      EXPECT_EQ(port.receive(13), c.answer);
    }
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
  }
}

TEST(SimProgram, RefusesAnUnknownTypeOrArgument) {
  for (const auto& args :
       {std::vector<std::string>{"--type", "24"},
        std::vector<std::string>{"--type", "22", "--variant", "16"},
        std::vector<std::string>{"--type", "36", "--product-code", "256"},
        std::vector<std::string>{"--type", "x"}, std::vector<std::string>{"--fast"}}) {
    int out = -1;
    const pid_t pid = Spawn(args, out);
    ASSERT_GT(pid, 0);
    close(out);
    EXPECT_NE(WaitExit(pid), 0) << args[0];
  }
}

}  // namespace
}  // namespace quibra::sim

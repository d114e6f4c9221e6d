// Runs the quibra program as a user would from a shell and collects what it printed (standard
// output and error together) and its exit code.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace quibra::testing {

struct CliRun {
  int exit_code = -1;
  std::string output;
};

// `arguments` follow the program name on a bash command line; they are passed through bash
// as they stand, so a test may use redirections and pipes.
inline CliRun RunCli(const std::string& arguments) {
  std::string escaped;
  for (char c : std::string(QUIBRA_CLI_PROGRAM) + " " + arguments) {
    if (c == '"' || c == '\\' || c == '$') escaped += '\\';
    escaped += c;
  }
  CliRun run;
  const std::string command = "bash -c \"" + escaped + "\" 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 256> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
    run.output += buffer.data();
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace quibra::testing

// Runs the quibra program as a user would from a shell and collects what it printed (standard
// output and error together) and its exit code.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

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

// The program run without a shell, so that a test can act while it runs: wait for a text in
// what it printed, send it a signal, then collect the rest. With `hold_output` its standard
// output is a full pipe until Finish(): its first write to it blocks, which holds it at a known
// step (a download blocks printing the first exercise it saved).
class CliProcess {
 public:
  explicit CliProcess(const std::vector<std::string>& arguments, bool hold_output = false) {
    int err[2];
    int out[2];
    if (pipe(err) != 0 || pipe(out) != 0) return;
    if (hold_output) {
      fcntl(out[1], F_SETPIPE_SZ, 4096);
      held_ = static_cast<size_t>(fcntl(out[1], F_GETPIPE_SZ));
      const std::string filler(held_, '.');
      if (write(out[1], filler.data(), filler.size()) != static_cast<ssize_t>(held_)) return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      dup2(open("/dev/null", O_RDONLY), 0);
      dup2(out[1], 1);
      dup2(err[1], 2);
      std::vector<char*> argv{const_cast<char*>(QUIBRA_CLI_PROGRAM)};
      for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(err[1]);
    close(out[1]);
    err_ = err[0];
    out_ = out[0];
  }
  ~CliProcess() {
    if (pid_ > 0 && !finished_) Finish();
  }

  // True once the program wrote `text` to its standard error, false after timeout_ms.
  bool WaitForError(const std::string& text, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (errors_.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end || !Read(err_, errors_, 20)) return false;
    }
    return true;
  }

  void Signal(int signal_number) const { kill(pid_, signal_number); }

  // Standard error, then standard output (without the filler that held it), and the exit code.
  CliRun Finish() {
    std::string output;
    for (bool err_open = true, out_open = true; err_open || out_open;) {
      if (err_open) err_open = Read(err_, errors_, 20);
      if (out_open) out_open = Read(out_, output, 20);
    }
    close(err_);
    close(out_);
    int status = 0;
    waitpid(pid_, &status, 0);
    finished_ = true;
    CliRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = errors_ + output.substr(std::min(held_, output.size()));
    return run;
  }

 private:
  // Appends what arrives within timeout_ms; false at the end of the stream.
  static bool Read(int fd, std::string& to, int timeout_ms) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return true;
    std::array<char, 4096> buffer{};
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n <= 0) return false;
    to.append(buffer.data(), static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int err_ = -1;
  int out_ = -1;
  size_t held_ = 0;
  bool finished_ = false;
  std::string errors_;
};

}  // namespace quibra::testing

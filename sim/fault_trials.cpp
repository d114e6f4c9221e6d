#include "fault_trials.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>

namespace quibra::sim {

namespace {
constexpr std::array<Outcome, 5> kOutcomes = {Outcome::Correct, Outcome::CleanFailure,
                                              Outcome::Crash, Outcome::Hang, Outcome::Wrong};

int CountEntries(const char* folder) {
  std::error_code error;
  int n = 0;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    ++n;
  return n;
}
}  // namespace

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Correct:
      return "correct";
    case Outcome::CleanFailure:
      return "clean failure";
    case Outcome::Crash:
      return "crash";
    case Outcome::Hang:
      return "hang";
    case Outcome::Wrong:
      return "wrong";
  }
  return "?";
}

Verdict RunForked(const std::function<Verdict()>& trial, std::chrono::milliseconds limit) {
  std::array<int, 2> pipe_ends{};
  if (pipe(pipe_ends.data()) != 0) return {Outcome::Crash, "no pipe"};
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    return {Outcome::Crash, "no fork"};
  }
  if (child == 0) {
    close(pipe_ends[0]);
    const Verdict verdict = trial();
    const std::string message = static_cast<char>(verdict.outcome) + verdict.detail;
    for (size_t done = 0; done < message.size();) {
      const ssize_t n = write(pipe_ends[1], message.data() + done, message.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    // Straight out: the trial's own teardown has run, static destructors need not.
    _exit(0);
  }
  close(pipe_ends[1]);
  std::string message;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  bool hung = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      hung = true;
      break;
    }
    pollfd pfd{pipe_ends[0], POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
    std::array<char, 512> buffer{};
    const ssize_t n = read(pipe_ends[0], buffer.data(), buffer.size());
    if (n <= 0) break;  // the child has ended
    message.append(buffer.data(), static_cast<size_t>(n));
  }
  close(pipe_ends[0]);
  if (hung) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  if (hung) return {Outcome::Hang, message};
  if (WIFSIGNALED(status)) return {Outcome::Crash, "signal " + std::to_string(WTERMSIG(status))};
  if (message.empty() || WEXITSTATUS(status) != 0) return {Outcome::Crash, "no verdict"};
  return {static_cast<Outcome>(message[0]), message.substr(1)};
}

ProcessResources ProcessResources::Now() {
  return {CountEntries("/proc/self/task"), CountEntries("/proc/self/fd")};
}

void OutcomeTable::add(const std::string& kind, Outcome outcome) {
  ++counts_[kind][outcome];
  ++counts_["all"][outcome];
}

void OutcomeTable::print(std::FILE* out) const {
  std::fprintf(out, "%-22s", "kind");
  for (Outcome o : kOutcomes)
    std::fprintf(out, " %14s", OutcomeName(o));
  std::fprintf(out, "\n");
  const auto row = [&](const std::string& kind, const std::map<Outcome, int>& counts) {
    std::fprintf(out, "%-22s", kind.c_str());
    for (Outcome o : kOutcomes) {
      const auto at = counts.find(o);
      std::fprintf(out, " %14d", at == counts.end() ? 0 : at->second);
    }
    std::fprintf(out, "\n");
  };
  for (const auto& [kind, counts] : counts_) {
    if (kind != "all") row(kind, counts);
  }
  if (const auto all = counts_.find("all"); all != counts_.end()) row("all", all->second);
}

bool OutcomeTable::clean() const {
  const auto all = counts_.find("all");
  if (all == counts_.end()) return true;
  for (Outcome o : {Outcome::Crash, Outcome::Hang, Outcome::Wrong}) {
    if (all->second.contains(o)) return false;
  }
  return true;
}

}  // namespace quibra::sim

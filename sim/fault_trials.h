// Running fault trials: each trial runs in a child process of its own, so that a crash is
// caught and counted and a trial that never ends is stopped at its time limit and counted, and
// no trial sees what another left behind. The outcomes are tallied by conversation kind.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace quibra::sim {

// What a trial came to. Correct: the result of the fault-free run. Clean failure: a failure
// reported as documented, with nothing half-done left behind. Wrong: anything else that
// returned, above all data accepted that is not what the unit holds.
enum class Outcome : char {
  Correct = 'c',
  CleanFailure = 'f',
  Crash = 'x',
  Hang = 'h',
  Wrong = 'w',
};
const char* OutcomeName(Outcome outcome);

struct Verdict {
  Outcome outcome = Outcome::Crash;
  std::string detail;  // what was seen: the result's digest, or why the trial counts as wrong
};

// Runs the trial in a forked child and waits up to `limit` for its verdict. A child that dies
// by a signal, or ends without a verdict, crashed; one still running at the limit is killed
// and hung. The calling process must not run threads of its own (fork copies only the caller).
Verdict RunForked(const std::function<Verdict()>& trial, std::chrono::milliseconds limit);

// The threads and open descriptors of this process.
struct ProcessResources {
  int threads = 0;
  int descriptors = 0;
  static ProcessResources Now();
  bool operator==(const ProcessResources&) const = default;
};

// Counts of outcomes by kind, printed as a table; clean when no trial crashed, hung or went
// wrong.
class OutcomeTable {
 public:
  void add(const std::string& kind, Outcome outcome);
  void print(std::FILE* out) const;
  bool clean() const;

 private:
  std::map<std::string, std::map<Outcome, int>> counts_;
};

}  // namespace quibra::sim

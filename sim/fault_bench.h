// A bench for fault trials: a simulated unit on the line, on the air or at the loudspeaker the
// conversation takes, with a fault plan between it and the library, and the matrix that runs
// every kind of conversation through it trial by trial and judges each one against the
// fault-free run of its kind.
//
// The bench knows the library only through what its caller hands it: a conversation runs the
// library's side through its exports and reports what the application got, and the library's
// loading, linking and unloading are the caller's too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "fault_relay.h"
#include "irda_stack.h"
#include "serial_link.h"
#include "unit.h"

namespace quibra::sim {

enum class Link : uint8_t { Serial, Irda, Sound };

// What the application got from one conversation: the export's result and what it received
// (record bytes, downloaded memory, saved files); after a failure, anything it kept that it
// should not have ("" when nothing).
struct Got {
  int32_t result = 0;
  std::string data;
};

class Bench;

struct Conversation {
  std::string name;
  int32_t type = 0;  // the unit's type (variant 3)
  Link link = Link::Serial;
  std::function<Got(Bench&)> run;  // the library's side
  // What the unit holds before the conversation.
  std::function<void(Unit&)> prepare = nullptr;
  // The results a clean failure gives, and the error code it leaves.
  std::vector<int32_t> failure_results = {0};
  int32_t failure_error = -1;
  // The result does not tell whether the unit took what was sent: a sound or a command has no
  // answer, and the state fix an identification of the newer units runs is not part of its
  // result. The unit may then also be left as it was: for a write that is a clean failure
  // despite its result, for a read with the right data it is correct.
  bool unit_change_unreported = false;
  // It writes to the unit: the fault-free run must leave the unit changed, or the trials would
  // judge nothing.
  bool writes = false;
};

// The library's part in a trial, on the trial's own process.
struct LibrarySide {
  std::function<void()> load;              // a fresh library and the clock of the trial
  std::function<void(Bench&, Link)> open;  // starts the conversation's link to the bench
  std::function<void()> end;               // ends the link; returns when its threads have
  std::function<int32_t()> error_code;     // the last error code
  std::function<void()> unload;            // the library, its clock and its seams go
};

// One trial's unit and the way to it; the plan may be null for the fault-free run.
class Bench {
 public:
  Bench(const Conversation& conversation, FaultPlan* plan, std::filesystem::path folder);
  ~Bench();
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  // Starts the unit's line and the relay (serial) or puts the unit in range (IrDA).
  void start();
  // Stops the threads of the line and the relay.
  void stop();

  Unit& unit() { return unit_; }
  const std::filesystem::path& folder() const { return folder_; }
  // The device the library opens (serial), and the IrDA stack with the unit in range.
  const std::string& serial_path() const { return serial_path_; }
  IrdaStack& stack() { return stack_; }
  // Where a sound upload writes its wave file.
  std::string wave_path() const { return (folder_ / "upload.wav").string(); }
  // The unit listens to a wave file the library played, through the plan's dropouts and noise,
  // and takes whatever request it makes out, as it would from its line.
  void hear(const std::string& wave_path);

 private:
  const Conversation& conversation_;
  FaultPlan quiet_{0, 1 << 30, std::chrono::milliseconds(0), false};
  FaultPlan& plan_;
  const bool faulty_;
  std::filesystem::path folder_;
  Unit unit_;
  SerialLink link_;
  std::unique_ptr<SerialFaultRelay> relay_;
  IrdaStack stack_;
  std::string serial_path_;
};

// Runs the matrix as the command line asks (--trials N --seed S [--kind K] [--shard K/M]
// [--regressions FILE] [--verbose 1]; the regressions run on shard 0), prints the counts by kind and outcome and every trial that crashed, hung or
// went wrong, and returns the exit status: 0 when none did, 1 when one did, 2 for bad options.
int RunFaultMatrix(int argc, char** argv, const std::vector<Conversation>& conversations,
                   const LibrarySide& library);

}  // namespace quibra::sim

// How a command is stopped before its end: Ctrl-C, SIGTERM, or the time --timeout allows running
// out.
// Either presses Cancel in the library's open dialog and asks the library to cancel the running
// transfer, and keeps doing so until the command ends, so that a step that starts later is
// cancelled as well; the command checks StopRequested() between its steps, writes nothing more
// and ends with ReportStop(). Files written under a temporary name are registered here, so that
// they are removed even when the library does not give the command back in time.
#pragma once

#include <mutex>
#include <string>

namespace quibra::cli {

enum class StopReason { None, Interrupted, Terminated, TimedOut };

// Routes Ctrl-C and SIGTERM here and starts the clock of the timeout (0: none). Call once, before any thread
// starts: the threads started later inherit the blocked signal.
void StartStopControl(double timeout_seconds);

StopReason RequestedStop();
inline bool StopRequested() {
  return RequestedStop() != StopReason::None;
}

// Prints "cancelled", "terminated" or "timed out after N s" and returns the exit code of the
// stop.
int ReportStop();

// For a command whose normal end is a stop (a live recording runs until Ctrl-C): a stop is then
// not reported, and the command's own exit code stands.
void TakeStopAsEnd();
bool StopTakenAsEnd();

// Holds the stop control's calls into the library back while the library is reset.
std::unique_lock<std::mutex> HoldLibraryCalls();

// The command is over: the stop control calls the library no more (it may be unloaded next).
void EndStopControl();

// A file being written under a temporary name: removed if the process must end before the
// command gives it its final name.
void RegisterPartialFile(const std::string& path);
void ForgetPartialFile(const std::string& path);

}  // namespace quibra::cli

// A relay on the serial line between the library and a simulated unit that follows a fault
// plan: the library opens the relay's device path (one side of a pseudo-terminal pair of its
// own) and the relay passes every chunk on to the unit's line (serial_link.h) and back, as the
// plan has it arrive: with bytes lost, a bit flipped, noise inserted, late, or not at all once
// the line has closed. A unit reset makes the unit forget the transfer under way and stay deaf
// and mute while it starts again.
//
// The relay runs on its own thread from start() to stop() (or destruction).
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "fault_plan.h"
#include "unit.h"

namespace quibra::sim {

class SerialFaultRelay {
 public:
  // The plan and the unit must outlive the relay; unit_path is the unit's line.
  SerialFaultRelay(FaultPlan& plan, Unit& unit, std::string unit_path);
  ~SerialFaultRelay();
  SerialFaultRelay(const SerialFaultRelay&) = delete;
  SerialFaultRelay& operator=(const SerialFaultRelay&) = delete;

  // Opens both ends and starts the thread; the device path the library should open, or empty
  // when a line could not be opened.
  std::string start();
  // Stops the thread and closes everything it opened. Safe to call twice.
  void stop();

 private:
  void run();
  // Passes one chunk read from `from` to `to` by the plan; false once the line has closed.
  bool relay(int from, int to);
  void write_all(int fd, const std::vector<uint8_t>& bytes);

  FaultPlan& plan_;
  Unit& unit_;
  const std::string unit_path_;
  int library_master_ = -1;
  int library_slave_ = -1;  // kept open so the line stays up while the library reopens it
  int unit_fd_ = -1;
  bool closed_ = false;
  std::chrono::steady_clock::time_point deaf_until_{};
  std::atomic<bool> stop_requested_{false};
  std::thread thread_;
};

}  // namespace quibra::sim

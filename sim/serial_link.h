// The serial front end: puts a simulated unit on one side of a pseudo-terminal pair, so the
// library opens the other side's device path as its port and runs its real line-setup and
// read/write code against it.
//
// The unit runs on its own thread from start() to stop() (or destruction). Without pacing it
// answers as soon as a request is complete; with pacing it sends its answers at the byte rate
// of the real line, 9600 baud with 11 bits per byte (start, 8 data, 2 stop), and starts an
// answer no earlier than the request itself would have finished arriving at that rate.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "unit.h"

namespace quibra::sim {

class SerialLink {
 public:
  // The time one byte takes on the real line: 11 bits at 9600 baud.
  static constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 9600};
  // A request that stalls this long in the middle is given up (the library will send it again).
  static constexpr std::chrono::milliseconds kStallLimit{500};

  // The unit must outlive the link. turnaround: how long the unit thinks before it answers a
  // request (a real unit answers only after the host has had time to clear its input; the
  // library clears it 50 ms after it sent the request).
  explicit SerialLink(Unit& unit, bool paced = false,
                      std::chrono::milliseconds turnaround = std::chrono::milliseconds{0});
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // Opens the pseudo-terminal pair and starts the unit's thread. Returns the device path the
  // library should open as its port; empty when the pair could not be made or the link runs.
  std::string start();
  // Stops the thread and closes the pair. Safe to call twice.
  void stop();

  bool running() const { return running_.load(); }
  const std::string& device_path() const { return path_; }

 private:
  void run();
  // Writes an answer; paced, it starts no earlier than `heard` and goes out at the line rate.
  void send(const std::vector<uint8_t>& bytes, std::chrono::steady_clock::time_point heard);
  // Waits (briefly) until the line takes more bytes.
  void wait_writable();

  Unit& unit_;
  const bool paced_;
  const std::chrono::milliseconds turnaround_;
  int master_ = -1;
  int slave_ = -1;  // kept open so the line stays up while the library closes and reopens it
  std::string path_;
  std::atomic<bool> stop_requested_{false};
  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace quibra::sim

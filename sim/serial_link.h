// The serial front end: puts a simulated unit on one side of a pseudo-terminal pair, so the
// library opens the other side's device path as its port and runs its real line-setup and
// read/write code against it.
//
// The same line can instead carry the short form of an IrDA link, for an IrDA stack that stands
// in for the system's and reaches the unit in another process (irda_pty_peer.h). Each block
// then travels in a link frame with its check sequence (irda_frame.h); a frame that fails the
// check is dropped unanswered, and bytes outside frames (a serial request sent to this line by
// mistake) are ignored, so the line keeps serving frames after them. The unit answers every
// frame that checks with one frame, empty when it has no answer, and answers an empty one with
// its IrDA device name.
//
// The unit runs on its own thread from start() to stop() (or destruction). It answers a
// complete request after its turnaround time: a real unit takes a while to turn its line
// around, and the library relies on that, since it purges its input 50 ms after writing. With
// pacing it also sends its answers at the byte rate of the real line, 9600 baud with 11 bits
// per byte (start, 8 data, 2 stop), and starts an answer no earlier than the request itself
// would have finished arriving at that rate.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "irda_frame.h"
#include "unit.h"

namespace quibra::sim {

class SerialLink {
 public:
  // The time one byte takes on the real line: 11 bits at 9600 baud.
  static constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 9600};
  // A request that stalls this long in the middle is given up (the library will send it again).
  static constexpr std::chrono::milliseconds kStallLimit{500};

  // Long enough to fall behind the library's purge 50 ms after its write, short enough to come
  // well inside the wait the library gives every answer.
  static constexpr std::chrono::milliseconds kDefaultTurnaround{120};

  // The unit must outlive the link. Tests that shorten the library's pauses with a scaled clock
  // shorten the turnaround with them.
  enum class Framing : uint8_t { Serial, ShortFormBlocks };

  explicit SerialLink(Unit& unit, bool paced = false,
                      std::chrono::milliseconds turnaround = kDefaultTurnaround,
                      Framing framing = Framing::Serial);
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
  // Takes the bytes of link frames and answers each complete one that checks.
  void take_frames(const uint8_t* bytes, size_t count, IrdaFrameReader& reader);
  // Writes an answer starting no earlier than `due`; paced, it goes out at the line rate.
  void send(const std::vector<uint8_t>& bytes, std::chrono::steady_clock::time_point due);
  // Waits (briefly) until the line takes more bytes.
  void wait_writable();

  Unit& unit_;
  const bool paced_;
  const std::chrono::milliseconds turnaround_;
  const Framing framing_;
  int master_ = -1;
  int slave_ = -1;  // kept open so the line stays up while the library closes and reopens it
  std::string path_;
  std::atomic<bool> stop_requested_{false};
  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace quibra::sim

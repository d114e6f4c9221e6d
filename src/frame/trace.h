// An optional record of a conversation with a unit: every byte sent and received on the
// infrared links, every link opened and closed, and every change of a message status, each with
// the seconds since the trace began. A user whose unit does not answer switches it on (the
// environment variable QUIBRA_TRACE=FILE at load, or fnQuibraExt_SetTrace) and sends the file
// with a bug report. It is off by default, and then a call costs one relaxed atomic load.
//
// Threads: any thread may write; each line is written whole under the trace's own lock, which
// is innermost: no other lock is taken while it is held.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace quibra::frame {

enum class TraceDirection : uint8_t { Sent, Received };

class Trace {
 public:
  Trace() = default;
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Starts tracing to the file, appending to what it holds, in place of any trace before.
  // false (and tracing off) when the file cannot be opened for writing.
  bool open(const std::string& path);
  // Ends tracing and closes the file.
  void close();
  bool on() const { return on_.load(std::memory_order_relaxed); }
  // The file traced to, empty when off.
  std::string path() const;

  // Bytes on a link ("serial", "usb", "irda"); nothing for an empty run. Received bytes that
  // follow each other on one link are gathered into one line, which ends at the next quiet read
  // (quiet()) or the next line of any other kind.
  void bytes(const char* link, TraceDirection direction, const uint8_t* data, size_t count) {
    if (on() && count > 0) write_bytes(link, direction, data, count);
  }
  // A read that found the line quiet: ends a line of gathered received bytes.
  void quiet() {
    if (on()) end_received();
  }
  // One event line in printf form ("open serial /dev/ttyS0", "status 9021 10").
  [[gnu::format(printf, 2, 3)]] void event(const char* format, ...);

 private:
  void write_bytes(const char* link, TraceDirection direction, const uint8_t* data, size_t count);
  void write_line(const char* text);
  void end_received();
  // Under lock_: writes the gathered received bytes, if any, as one line.
  void flush_received_locked();
  void put_locked(double at, const char* text);
  double seconds() const;

  // Lock order 6, innermost (frame/locks.h): guards the file, the path and the gathered bytes.
  mutable std::mutex lock_;
  std::FILE* file_ = nullptr;
  std::string path_;
  std::string received_;       // gathered received bytes as text (" 5C 15 ..."), not yet written
  std::string received_link_;  // the link they came on
  size_t received_count_ = 0;
  double received_at_ = 0;  // when the first of them came
  std::chrono::steady_clock::time_point start_;
  std::atomic<bool> on_{false};
};

}  // namespace quibra::frame

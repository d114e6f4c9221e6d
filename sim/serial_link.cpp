#include "serial_link.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "frame_reader.h"
#include "irda_stack.h"

namespace quibra::sim {

namespace {
// How often the thread looks at its stop request while the line is quiet.
constexpr int kPollMs = 10;
}  // namespace

SerialLink::SerialLink(Unit& unit, bool paced, std::chrono::milliseconds turnaround,
                       Framing framing)
    : unit_(unit), paced_(paced), turnaround_(turnaround), framing_(framing) {}

SerialLink::~SerialLink() {
  stop();
}

std::string SerialLink::start() {
  if (thread_.joinable()) return {};
  std::array<char, 128> name{};
  if (openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
    master_ = slave_ = -1;
    return {};
  }
  // Raw from the first byte: without this the line discipline would echo the unit's answers
  // back to it and hold the library's reads until a line end, until the library sets the
  // line up itself.
  termios raw{};
  if (tcgetattr(slave_, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  // Writes must not block the thread past a stop request when the library stops reading.
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  path_ = name.data();
  stop_requested_ = false;
  running_ = true;
  thread_ = std::thread([this] { run(); });
  return path_;
}

void SerialLink::stop() {
  stop_requested_ = true;
  if (thread_.joinable()) thread_.join();
  running_ = false;
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  master_ = slave_ = -1;
}

void SerialLink::take_frames(const uint8_t* bytes, size_t count, IrdaFrameReader& reader) {
  for (size_t i = 0; i < count; ++i) {
    const auto frame = reader.feed(bytes[i]);
    if (!frame || !frame->checks) continue;
    if (frame->block.empty()) {
      const std::string name = IrdaNameOfType(unit_.type());
      send(EncodeIrdaFrame(std::span(reinterpret_cast<const uint8_t*>(name.data()), name.size())),
           std::chrono::steady_clock::now());
    } else {
      send(unit_.answer_in_frame(frame->block), std::chrono::steady_clock::now());
    }
  }
}

void SerialLink::run() {
  FrameReader reader;
  IrdaFrameReader irda_reader;
  std::array<uint8_t, 256> buffer{};
  auto last_byte = std::chrono::steady_clock::now();
  auto frame_started = last_byte;
  while (!stop_requested_.load()) {
    pollfd pfd{master_, POLLIN, 0};
    const int ready = poll(&pfd, 1, kPollMs);
    if (ready < 0 && errno != EINTR) break;
    if (framing_ == Framing::ShortFormBlocks) {
      if (ready <= 0 || !(pfd.revents & POLLIN)) continue;
      const ssize_t got = read(master_, buffer.data(), buffer.size());
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) break;
      take_frames(buffer.data(), static_cast<size_t>(got), irda_reader);
      continue;
    }
    if (ready <= 0 || !(pfd.revents & POLLIN)) {
      if (reader.in_frame() && std::chrono::steady_clock::now() - last_byte > kStallLimit) {
        reader.reset();
      }
      // A quiet line carries what the unit sends on its own (a listen-only transfer).
      if (!reader.in_frame()) send(unit_.next_spontaneous(), std::chrono::steady_clock::now());
      continue;
    }
    const ssize_t got = read(master_, buffer.data(), buffer.size());
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) break;
    last_byte = std::chrono::steady_clock::now();
    for (ssize_t i = 0; i < got; ++i) {
      const bool was_in_frame = reader.in_frame();
      auto request = reader.feed(buffer[static_cast<size_t>(i)]);
      if (!was_in_frame && reader.in_frame()) frame_started = last_byte;
      if (request) {
        // On a paced line the request itself took its line time to arrive; the answer cannot
        // start before its last byte would have.
        const auto heard =
            paced_ ? frame_started + static_cast<int64_t>(request->bytes.size()) * kByteTime
                   : last_byte;
        send(unit_.handle(*request), heard + turnaround_);
      }
    }
  }
  running_ = false;
}

void SerialLink::send(const std::vector<uint8_t>& bytes,
                      std::chrono::steady_clock::time_point due) {
  if (bytes.empty()) return;
  // Turning the line around; checked in slices so that stop() is not held up.
  while (!stop_requested_.load() && std::chrono::steady_clock::now() < due) {
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        due - std::chrono::steady_clock::now(), std::chrono::milliseconds(kPollMs)));
  }
  if (!paced_) {
    size_t done = 0;
    while (done < bytes.size() && !stop_requested_.load()) {
      const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) {
        wait_writable();
        continue;
      }
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
    return;
  }
  // One byte per byte time, measured from the start so that sleeping late does not add up.
  due = std::max(due, std::chrono::steady_clock::now());
  for (uint8_t byte : bytes) {
    if (stop_requested_.load()) return;
    std::this_thread::sleep_until(due);
    ssize_t n = 0;
    while ((n = write(master_, &byte, 1)) < 0 && (errno == EINTR || errno == EAGAIN) &&
           !stop_requested_.load()) {
      wait_writable();
    }
    if (n != 1) return;
    due += kByteTime;
  }
}

void SerialLink::wait_writable() {
  pollfd pfd{master_, POLLOUT, 0};
  poll(&pfd, 1, kPollMs);
}

}  // namespace quibra::sim

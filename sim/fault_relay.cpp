#include "fault_relay.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace quibra::sim {

namespace {
constexpr int kPollMs = 5;

void MakeRaw(int fd) {
  termios raw{};
  if (tcgetattr(fd, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
  }
}
}  // namespace

SerialFaultRelay::SerialFaultRelay(FaultPlan& plan, Unit& unit, std::string unit_path)
    : plan_(plan), unit_(unit), unit_path_(std::move(unit_path)) {}

SerialFaultRelay::~SerialFaultRelay() {
  stop();
}

std::string SerialFaultRelay::start() {
  if (thread_.joinable()) return {};
  std::array<char, 128> name{};
  if (openpty(&library_master_, &library_slave_, name.data(), nullptr, nullptr) != 0) {
    library_master_ = library_slave_ = -1;
    return {};
  }
  // Raw from the first byte, as the unit's own line is (serial_link.cpp).
  MakeRaw(library_slave_);
  unit_fd_ = open(unit_path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (unit_fd_ < 0) {
    stop();
    return {};
  }
  MakeRaw(unit_fd_);
  for (int fd : {library_master_, library_slave_}) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  fcntl(library_master_, F_SETFL, fcntl(library_master_, F_GETFL) | O_NONBLOCK);
  stop_requested_ = false;
  thread_ = std::thread([this] { run(); });
  return name.data();
}

void SerialFaultRelay::stop() {
  stop_requested_ = true;
  if (thread_.joinable()) thread_.join();
  for (int* fd : {&library_master_, &library_slave_, &unit_fd_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

void SerialFaultRelay::run() {
  while (!stop_requested_.load() && !closed_) {
    std::array<pollfd, 2> fds{{{library_master_, POLLIN, 0}, {unit_fd_, POLLIN, 0}}};
    const int ready = poll(fds.data(), fds.size(), kPollMs);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    // The library's side hangs up (POLLHUP) while it has its port closed: nothing to read then.
    if ((fds[0].revents & POLLIN) && !relay(library_master_, unit_fd_)) break;
    if ((fds[1].revents & POLLIN) && !relay(unit_fd_, library_master_)) break;
    if (!(fds[0].revents & POLLIN) && !(fds[1].revents & POLLIN)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
  }
}

bool SerialFaultRelay::relay(int from, int to) {
  std::array<uint8_t, 256> buffer{};
  const ssize_t got = read(from, buffer.data(), buffer.size());
  // EIO: the library has its end closed for now (it reopens the port between conversations).
  if (got < 0 && errno == EIO) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  if (got <= 0) return got < 0 && (errno == EINTR || errno == EAGAIN || errno == EIO);
  // A unit starting again hears and says nothing.
  if (std::chrono::steady_clock::now() < deaf_until_) return true;
  FaultPlan::Passage passage = plan_.pass(std::span(buffer.data(), static_cast<size_t>(got)));
  if (passage.fault == LineFault::Reset) {
    unit_.reset_conversation();
    deaf_until_ = std::chrono::steady_clock::now() + passage.delay;
    return true;
  }
  if (passage.delay.count() > 0) std::this_thread::sleep_for(passage.delay);
  write_all(to, passage.bytes);
  if (passage.fault != LineFault::Close) return true;
  // The line goes: the library's end sees it hang up and the unit hears nothing more.
  closed_ = true;
  close(library_master_);
  library_master_ = -1;
  return false;
}

void SerialFaultRelay::write_all(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size() && !stop_requested_.load()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      pollfd pfd{fd, POLLOUT, 0};
      poll(&pfd, 1, kPollMs);
      continue;
    }
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace quibra::sim

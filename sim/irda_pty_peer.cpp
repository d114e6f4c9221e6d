#include "irda_pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

#include "irda_frame.h"

namespace quibra::sim {

IrdaPtyPeer::IrdaPtyPeer(const std::string& path) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
}

IrdaPtyPeer::~IrdaPtyPeer() {
  if (fd_ >= 0) close(fd_);
}

bool IrdaPtyPeer::write_all(std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      pollfd p{fd_, POLLOUT, 0};
      poll(&p, 1, kAnswerTimeoutMs);
    } else {
      return false;
    }
  }
  return true;
}

void IrdaPtyPeer::drain() {
  std::array<uint8_t, 256> junk{};
  while (read(fd_, junk.data(), junk.size()) > 0) {
  }
}

std::vector<uint8_t> IrdaPtyPeer::exchange(std::span<const uint8_t> request) {
  std::lock_guard guard(lock_);
  if (fd_ < 0 || request.size() > kIrdaMaxBlock) return {};
  drain();
  if (!write_all(EncodeIrdaFrame(request))) return {};
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
  IrdaFrameReader reader;
  std::array<uint8_t, 256> buffer{};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t n = read(fd_, buffer.data(), buffer.size());
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return {};
    for (ssize_t i = 0; i < n; ++i) {
      auto frame = reader.feed(buffer[static_cast<size_t>(i)]);
      if (!frame) continue;
      if (!frame->checks) ++dropped_;
      return std::move(frame->block);  // empty for a dropped frame
    }
  }
}

std::string IrdaPtyPeer::device_name() {
  const std::vector<uint8_t> name = exchange({});
  return {name.begin(), name.end()};
}

int IrdaPtyPeer::dropped_frames() {
  std::lock_guard guard(lock_);
  return dropped_;
}

}  // namespace quibra::sim

#include "irda_pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace quibra::sim {
namespace {

constexpr size_t kBlockHead = 2;
constexpr size_t kMaxBlock = 0xFFFF;

}  // namespace

IrdaPtyPeer::IrdaPtyPeer(const std::string& path) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
}

IrdaPtyPeer::~IrdaPtyPeer() {
  if (fd_ >= 0) close(fd_);
}

bool IrdaPtyPeer::write_all(const uint8_t* bytes, size_t count) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = write(fd_, bytes + done, count - done);
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

bool IrdaPtyPeer::read_exactly(uint8_t* bytes, size_t count) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
  size_t done = 0;
  while (done < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t n = read(fd_, bytes + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      return false;
    }
  }
  return true;
}

std::vector<uint8_t> IrdaPtyPeer::exchange(std::span<const uint8_t> request) {
  std::lock_guard guard(lock_);
  if (fd_ < 0 || request.size() > kMaxBlock) return {};
  std::vector<uint8_t> block = {static_cast<uint8_t>(request.size() & 0xFF),
                                static_cast<uint8_t>(request.size() >> 8)};
  block.insert(block.end(), request.begin(), request.end());
  if (!write_all(block.data(), block.size())) return {};
  uint8_t head[kBlockHead] = {};
  if (!read_exactly(head, kBlockHead)) return {};
  std::vector<uint8_t> answer(head[0] | static_cast<size_t>(head[1]) << 8);
  if (!read_exactly(answer.data(), answer.size())) return {};
  return answer;
}

std::string IrdaPtyPeer::device_name() {
  const std::vector<uint8_t> name = exchange({});
  return {name.begin(), name.end()};
}

}  // namespace quibra::sim

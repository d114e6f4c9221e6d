// A pseudo-terminal pair for tests: the library opens the slave by name as its serial port, so
// its real termios path runs; the test plays the other end on the master.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quibra::testing {

class PtyPair {
 public:
  PtyPair() {
    int slave = -1;
    char name[256] = {};
    if (openpty(&master_, &slave, name, nullptr, nullptr) == 0) {
      name_ = name;
      // Keeping a slave descriptor open here keeps the line up while the library reopens it.
      slave_ = slave;
      fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
  }
  ~PtyPair() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool ok() const { return master_ >= 0; }
  const std::string& slave_name() const { return name_; }
  int master() const { return master_; }

  void send(const std::vector<uint8_t>& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) done += static_cast<size_t>(n);
    }
  }

  // Whatever the library wrote, waiting up to timeout_ms for the first byte.
  std::vector<uint8_t> receive(int timeout_ms) const {
    std::vector<uint8_t> out;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return out;
    uint8_t buffer[512];
    for (;;) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      out.insert(out.end(), buffer, buffer + n);
    }
    return out;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string name_;
};

}  // namespace quibra::testing

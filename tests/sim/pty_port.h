// The PC side of a simulated line in tests: the device path opened and set up the way the
// library sets up a serial port (raw, 9600 baud, two stop bits).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "recoding.h"
#include "sim_bytes.h"

namespace quibra::sim::testing {

class Port {
 public:
  explicit Port(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios line{};
    if (fd_ >= 0 && tcgetattr(fd_, &line) == 0) {
      cfmakeraw(&line);
      cfsetspeed(&line, B9600);
      line.c_cflag |= CSTOPB;
      tcsetattr(fd_, TCSANOW, &line);
    }
  }
  ~Port() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }

  void send(const Bytes& bytes, bool recode) {
    Bytes wire = bytes;
    if (recode) {
      for (auto& b : wire)
        b = Recode(b);
    }
    ASSERT_EQ(write(fd_, wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));
  }

  // Reads until `count` bytes came or the line stayed quiet for `quiet`.
  Bytes receive(size_t count, std::chrono::milliseconds quiet = std::chrono::milliseconds(1000)) {
    Bytes got;
    uint8_t buffer[64];
    while (got.size() < count) {
      pollfd pfd{fd_, POLLIN, 0};
      if (poll(&pfd, 1, static_cast<int>(quiet.count())) <= 0) break;
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

 private:
  int fd_;
};

}  // namespace quibra::sim::testing

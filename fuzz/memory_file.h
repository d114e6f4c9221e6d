// A file that lives in memory, for the parsers that take a path: each input replaces its
// contents and the library opens it by its /proc path, so no input touches the disk and
// parallel fuzzing processes never share a file.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace quibra::fuzz {

class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("quibra-fuzz", 0)) {
    if (fd_ < 0) std::abort();  // the target cannot run without it
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  ~MemoryFile() { close(fd_); }

  // Makes the file hold exactly these bytes; false when the kernel refused.
  bool fill(const uint8_t* data, size_t size) {
    if (ftruncate(fd_, 0) != 0) return false;
    for (size_t at = 0; at < size;) {
      const ssize_t n = pwrite(fd_, data + at, size - at, static_cast<off_t>(at));
      if (n <= 0) return false;
      at += static_cast<size_t>(n);
    }
    return true;
  }

  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

}  // namespace quibra::fuzz

#include "failure.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "quibra/quibra.h"

namespace quibra::cli {
namespace {

struct ErrorText {
  int32_t code;
  const char* text;
};

// The codes the library leaves in its last error (-1 only marks a transfer that started).
constexpr ErrorText kErrorTexts[] = {
    {1, "sound playback refused"},
    {2, "file not opened or created"},
    {101, "time of day out of range"},
    {102, "invalid date"},
};

}  // namespace

std::string LibraryErrorCause() {
  const int32_t code = fnQuibra_GetErrorCode();
  for (const ErrorText& e : kErrorTexts) {
    if (e.code == code) return " (library error " + std::to_string(code) + ": " + e.text + ")";
  }
  if (code <= 0) return {};
  return " (library error " + std::to_string(code) + ")";
}

std::string PortCause(const std::string& port) {
  // Opening without waiting for a carrier and without becoming the controlling terminal, the way
  // the library opens it; closed again at once.
  const int fd = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::strerror(errno);
  const bool terminal = ::isatty(fd) != 0;
  ::close(fd);
  return terminal ? std::string() : "not a terminal";
}

}  // namespace quibra::cli

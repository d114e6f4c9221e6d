// posix backend of temporary file names: a new file "<prefix>XXXXXX.tmp" made with mkstemps in
// $TMPDIR (or /tmp).
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/temp_files.h"

namespace quibra::platform {
namespace {

class PosixTempFiles final : public TempFiles {
 public:
  std::optional<std::string> create_unique(const std::string& prefix) override {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern =
        std::string(dir != nullptr && dir[0] != '\0' ? dir : "/tmp") + "/" + prefix + "XXXXXX.tmp";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0) return std::nullopt;
    close(fd);
    return std::string(name.data());
  }
};

}  // namespace

TempFiles& system_temp_files() {
  static PosixTempFiles instance;
  return instance;
}

}  // namespace quibra::platform

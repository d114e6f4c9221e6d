// win32 backend of temporary file names: GetTempPathA and GetTempFileNameA.
#include <windows.h>

#include "platform/temp_files.h"

namespace quibra::platform {
namespace {

class Win32TempFiles final : public TempFiles {
 public:
  std::optional<std::string> create_unique(const std::string& prefix) override {
    char dir[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, dir);
    if (length == 0 || length > MAX_PATH) return std::nullopt;
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(dir, prefix.c_str(), 0, name) == 0) return std::nullopt;
    return std::string(name);
  }
};

}  // namespace

TempFiles& system_temp_files() {
  static Win32TempFiles instance;
  return instance;
}

}  // namespace quibra::platform

// Temporary file names of the platform seam.
#pragma once

#include <optional>
#include <string>

namespace quibra::platform {

// Contract: creates a new empty file with a unique name in the system's temporary directory,
// the name starting with prefix and ending in ".tmp" (as the system names them), and returns
// its path; nothing when that fails.
class TempFiles {
 public:
  virtual ~TempFiles() = default;
  virtual std::optional<std::string> create_unique(const std::string& prefix) = 0;
};

TempFiles& system_temp_files();

}  // namespace quibra::platform

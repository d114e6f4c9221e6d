#include <filesystem>
#include <system_error>

#include "platform/dump_path.h"

namespace quibra::platform {

std::string MemoryDumpPath() {
  std::error_code error;
  std::filesystem::path dir = std::filesystem::temp_directory_path(error);
  if (error) dir = "/tmp";
  return (dir / "OrvekMem.txt").string();
}

}  // namespace quibra::platform

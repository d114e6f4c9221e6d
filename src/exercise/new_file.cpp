#include "exercise/new_file.h"

#include <filesystem>
#include <system_error>

namespace quibra::exercise {

bool CreateNewFile(const std::string& path, std::ofstream& out) {
  if (path.empty()) return false;
  const auto mode = std::ios::binary | std::ios::out | std::ios::trunc;
  out.open(path, mode);
  if (out.is_open()) return true;
  // A read-only file in the way: give it back its write permission and try once more.
  std::error_code ignored;
  std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, ignored);
  out.clear();
  out.open(path, mode);
  return out.is_open();
}

}  // namespace quibra::exercise

#include "exercise/new_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "frame/comm_params.h"

namespace quibra::exercise {

FileWrite WriteNewFile(const std::string& path, const void* bytes, size_t size) {
  if (path.empty()) return FileWrite::kNotCreated;
  // stdio rather than a stream: the bytes go to the file in one write with no copy on the way.
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    // A read-only file in the way: give it back its write permission and try once more.
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
    file = std::fopen(path.c_str(), "wb");
  }
  if (file == nullptr) return FileWrite::kNotCreated;
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return FileWrite::kWritten;
  // Only a file is removed: a device that refused the bytes stays.
  std::error_code ignored;
  if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
  return FileWrite::kFailed;
}

int32_t SaveNewFile(const std::string& path, const void* bytes, size_t size) {
  switch (WriteNewFile(path, bytes, size)) {
    case FileWrite::kWritten:
      return 1;
    case FileWrite::kNotCreated:
      frame::SetErrorCode(kFileNotOpened);
      return 0;
    case FileWrite::kFailed:
      break;
  }
  return 0;
}

}  // namespace quibra::exercise

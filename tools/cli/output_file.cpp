#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "stop_control.h"

namespace quibra::cli {
namespace {

namespace fs = std::filesystem;

std::string PartialName(const std::string& path) {
  const fs::path final_path(path);
  const std::string name =
      "." + final_path.filename().string() + ".part-" + std::to_string(::getpid());
  return (final_path.parent_path() / name).string();
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)), partial_(PartialName(path_)) {
  RegisterPartialFile(partial_);
}

OutputFile::~OutputFile() {
  if (!committed_) std::remove(partial_.c_str());
  ForgetPartialFile(partial_);
}

bool OutputFile::Commit(bool replace, std::string& error) {
  // A hard link fails when the name is taken, where a rename would replace the file silently.
  const int result = replace ? std::rename(partial_.c_str(), path_.c_str())
                             : ::link(partial_.c_str(), path_.c_str());
  if (result != 0) {
    error = "cannot write " + path_ + ": " + std::strerror(errno);
    return false;
  }
  if (!replace) std::remove(partial_.c_str());
  committed_ = true;
  return true;
}

std::string FreeName(const std::string& dir, const std::string& stem,
                     const std::string& extension) {
  for (int n = 1;; ++n) {
    const std::string name = stem + (n == 1 ? "" : "_" + std::to_string(n)) + extension;
    const fs::path path = fs::path(dir) / name;
    std::error_code ignored;
    if (!fs::exists(fs::symlink_status(path, ignored))) return path.string();
  }
}

std::string CheckWritableDirectory(const std::string& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) return "cannot make " + dir + ": " + error.message();
  const std::string probe = PartialName((fs::path(dir) / "probe").string());
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return "cannot write to " + dir + ": " + std::strerror(errno);
  ::close(fd);
  std::remove(probe.c_str());
  return {};
}

}  // namespace quibra::cli

// Files the tool writes: under a temporary name beside the final one, renamed when complete, so
// that a cancelled or failed command never leaves a partial file behind; and names that never
// take the place of a file that is there already.
#pragma once

#include <string>

namespace quibra::cli {

class OutputFile {
 public:
  // Writes to a temporary name in the directory of `path` (registered with the stop control).
  explicit OutputFile(std::string path);
  ~OutputFile();  // removes the temporary file unless it was committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& path() const { return path_; }
  const std::string& partial() const { return partial_; }

  // Gives the file its final name. With `replace` false a file of that name that appeared in the
  // meantime is kept and the commit fails. False with the reason in `error`.
  bool Commit(bool replace, std::string& error);

 private:
  std::string path_;
  std::string partial_;
  bool committed_ = false;
};

// <dir>/<stem><extension>, or with the first free suffix _2, _3, ... when that name is taken.
std::string FreeName(const std::string& dir, const std::string& stem, const std::string& extension);

// Makes the directory (with its parents) and checks that a file can be created in it; empty when
// it can, else the reason ("cannot write to DIR: Permission denied").
std::string CheckWritableDirectory(const std::string& dir);

}  // namespace quibra::cli

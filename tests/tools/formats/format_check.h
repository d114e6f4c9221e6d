// Runs a program that reads a file the tool wrote (a decoder, a converter) and collects what
// it printed, for the tests that check the tool's files with readers of other makers.
#pragma once

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace quibra::testing {

// Standard output of `command` run by the shell; empty when it failed.
inline std::string OutputOf(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 4096> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
    output += buffer.data();
  return pclose(pipe) == 0 ? output : std::string();
}

inline bool Installed(const std::string& program) {
  return !OutputOf("command -v " + program + " 2>/dev/null").empty();
}

template <typename Container>
void WriteFile(const std::string& path, const Container& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace quibra::testing

// Scratch folders for tests that leave files behind them, such as the tool's downloads.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quibra::testing {

// An empty folder of the running test's own: tests run side by side in processes of their own,
// and other checkouts may run the same suite at once, so the name holds the process and the test.
inline std::string TestFolder() {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) /
      ("quibra-" + std::to_string(getpid()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

// The names of the files in a folder, sorted.
inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quibra::testing

// quibra mobile receive: what a simulated phone sends is saved as memory.bin and an HRM file;
// on a system without IrDA the service cannot be opened, which is said, and nothing is written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;
using quibra::testing::FilesIn;
using quibra::testing::RunCli;
using quibra::testing::TestFolder;

TEST(MobileCli, SavesWhatAPhoneSendsAndSaysWhenNoServiceOpens) {
  const std::string dir = TestFolder();
  const auto sent = RunCli("mobile receive --out " + dir + " --sim-phone 20");
  EXPECT_EQ(sent.exit_code, 0) << sent.output;
  EXPECT_NE(sent.output.find("Reading..."), std::string::npos) << sent.output;
  EXPECT_NE(sent.output.find(dir + "/2026-11-01_0700.hrm"), std::string::npos) << sent.output;
  EXPECT_NE(sent.output.find(dir + "/memory.bin  the exercise memory"), std::string::npos);
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"2026-11-01_0700.hrm", "memory.bin"}));

  const std::string none = dir + "/none";
  const auto refused = RunCli("mobile receive --out " + none);
  EXPECT_EQ(refused.exit_code, 1) << refused.output;
  EXPECT_NE(refused.output.find("Orvek: An error 0 / 10047 occurred in opening IRComm connection"),
            std::string::npos)
      << refused.output;
  EXPECT_TRUE(FilesIn(none).empty());
  fs::remove_all(dir);
}

}  // namespace

// quibra logo send as a user runs it: a picture file in, the packed logo bytes printed, and the
// upload sound written; pictures that do not fit the unit's display are refused.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli_run.h"

namespace {

using quibra::testing::CliRun;

CliRun Logo(const std::string& arguments) {
  return quibra::testing::RunCli("logo send " + arguments);
}

class LogoCli : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quibra-logo-cli-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::filesystem::path folder_;
};

TEST_F(LogoCli, PlainAndRawPictures) {
  // Columns 0, 1, 2 of a 3 x 2 picture: row 0, row 1, both rows.
  const std::string plain = Write("corner.pbm", "P1\n# a corner\n3 2\n1 0 1\n0 1 1\n");
  CliRun run = Logo(plain + " --type 11 --dry-run");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("message 9015, 54 bytes:\n  A3 0F 00 00 34 01 02 03 00 00"),
            std::string::npos)
      << run.output;

  // 2 x 9, eight pixels a byte: (row 0, column 0) and (row 8, column 1) set; 16 rows, two
  // bytes a column, high byte first.
  const std::string raw =
      Write("raw.pbm", std::string("P4\n2 9\n") + '\x80' + std::string(7, '\0') + '\x40');
  run = Logo(raw + " --type 25 --dry-run");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("A3 0F 00 00 63 00 01 01 00 00 00"), std::string::npos) << run.output;
}

TEST_F(LogoCli, PngPicture) {
  // 3 x 2, gray and alpha: row 0 dark, light, dark; row 1 light, dark, and a dark pixel that is
  // transparent (not set).
  const char kPng[] =
      "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x02\x08\x04"
      "\x00\x00\x00\x37\x7d\xae\x91\x00\x00\x00\x12IDAT\x78\xda\x63\x60\xf8\xff\xff\x3f"
      "\x03\x10\x82\x08\x06\x00\x36\xd7\x06\xfa\x8c\x5b\x98\xbc\x00\x00\x00\x00IEND\xae"
      "\x42\x60\x82";
  const std::string png = Write("corner.png", std::string(kPng, sizeof kPng - 1));
  const CliRun run = Logo(png + " --type 22 --dry-run");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("A3 0F 00 00 34 01 02 01 00 00"), std::string::npos) << run.output;
}

TEST_F(LogoCli, PicturesThatDoNotFitAreRefused) {
  const std::string wide = Write("wide.pbm", "P1 45 1 " + std::string(45, '1'));
  EXPECT_EQ(Logo(wide + " --type 16 --dry-run").exit_code, 2);  // 44 columns
  EXPECT_EQ(Logo(wide + " --type 11 --dry-run").exit_code, 0);  // 47 columns
  const std::string short_raster = Write("short.pbm", "P4\n8 4\n\x01\x02");
  EXPECT_EQ(Logo(short_raster + " --type 11 --dry-run").exit_code, 2);
  EXPECT_EQ(Logo(wide + " --type 18 --dry-run").exit_code, 2);  // a type without a logo
  EXPECT_EQ(Logo(wide + " --type 11").exit_code, 2);            // nowhere to send it
}

TEST_F(LogoCli, OutdoorLogoWritesTwoSoundFiles) {
  const std::string picture = Write("tall.pbm", "P1 1 15 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1");
  const std::string wave = (folder_ / "logo.wav").string();
  const CliRun run = Logo(picture + " --type 20 --sound " + wave);
  EXPECT_EQ(run.exit_code, 0) << run.output;
  // Sub-image 1 carries rows 0..7 of column 0, sub-image 0 rows 8..14.
  EXPECT_NE(run.output.find("A3 32 00 00 35 01 FF 00"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("A3 32 00 00 35 00 7F 00"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find((folder_ / "logo2.wav").string()), std::string::npos) << run.output;
  EXPECT_TRUE(std::filesystem::exists(wave));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "logo2.wav"));
}

}  // namespace

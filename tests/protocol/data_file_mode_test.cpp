#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/comm_params.h"
#include "protocol/data_file.h"
#include "protocol/message_image.h"
#include "support/module_fixture.h"
#include "support/test_folder.h"

namespace quibra::protocol {
namespace {

class DataFileModeTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    // ctest runs each test in its own process, side by side: each needs a file of its own.
    path_ = testing::TestFolder() + "/data_file.dat";
    std::memset(&params_, 0, sizeof params_);
    std::snprintf(params_.FilePath, sizeof params_.FilePath, "%s", path_.c_str());
  }
  void TearDown() override {
    std::remove(path_.c_str());
    ModuleTest::TearDown();
  }
  std::string contents() const {
    std::ifstream f(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
  std::string path_;
  CommParams params_{};
};

TEST_F(DataFileModeTest, WriteLaysOutTheSectionAndReadShiftsItByOne) {
  for (int i = 5; i < 38; ++i)
    SetMessageByte(9003, 1, i, static_cast<uint8_t>(i));
  params_.WriteToDataFile = 1;
  ASSERT_EQ(WriteDataFile(params_, 9003, 1), 1);
  const std::string bytes = contents();
  // "OrvekData9003" CR LF, 40 image bytes (A3 03 00 00 26, the payload, the checksum), CR LF 0.
  ASSERT_EQ(bytes.size(), 15u + 40u + 3u);
  EXPECT_EQ(bytes.substr(0, 15), "OrvekData9003\r\n");
  const uint8_t head[] = {0xA3, 0x03, 0x00, 0x00, 0x26};
  EXPECT_EQ(std::memcmp(bytes.data() + 15, head, sizeof head), 0);
  EXPECT_EQ(bytes[15 + 6], 6);
  EXPECT_EQ(bytes[15 + 37], 37);
  EXPECT_EQ(bytes.substr(55), std::string("\r\n\0", 3));

  for (int i = 5; i < 38; ++i)
    SetMessageByte(9003, 1, i, 0);
  params_.ReadFromDataFile = 1;
  ASSERT_EQ(ReadDataFile(params_, 9003, 1), 1);
  // Byte i of the section lands at image index i + 1.
  EXPECT_EQ(GetMessageByte(9003, 1, 6), static_cast<uint8_t>(bytes[15 + 5]));
  EXPECT_EQ(GetMessageByte(9003, 1, 7), 6);
  EXPECT_EQ(GetMessageByte(9003, 1, 37), 36);
}

TEST_F(DataFileModeTest, SwitchedOffDoesNothing) {
  EXPECT_EQ(WriteDataFile(params_, 9003, 1), 1);
  EXPECT_EQ(ReadDataFile(params_, 9003, 1), 1);
  EXPECT_TRUE(contents().empty());
}

TEST_F(DataFileModeTest, MissingFileAndMissingSection) {
  params_.ReadFromDataFile = 1;
  frame::SetErrorCode(0);
  EXPECT_EQ(ReadDataFile(params_, 9003, 1), 0);
  EXPECT_EQ(frame::GetErrorCode(), 2);

  { std::ofstream(path_, std::ios::binary) << "OrvekData9004\r\nabc"; }
  frame::SetErrorCode(0);
  EXPECT_EQ(ReadDataFile(params_, 9003, 1), 0);
  EXPECT_EQ(frame::GetErrorCode(), 0);

  params_.FilePath[0] = '\0';
  params_.WriteToDataFile = 1;
  EXPECT_EQ(WriteDataFile(params_, 9003, 1), 0);
  EXPECT_EQ(frame::GetErrorCode(), 2);
}

TEST_F(DataFileModeTest, ShortSectionStoresZerosForTheMissingBytes) {
  SetMessageByte(9003, 1, 9, 0x77);
  {
    std::ofstream file(path_, std::ios::binary);
    file << "OrvekData9003\r\n";
    file.write("\xA3\x03\x00\x00\x26\x11\x22", 7);
  }
  params_.ReadFromDataFile = 1;
  ASSERT_EQ(ReadDataFile(params_, 9003, 1), 1);
  EXPECT_EQ(GetMessageByte(9003, 1, 7), 0x22);
  EXPECT_EQ(GetMessageByte(9003, 1, 9), 0);
}

}  // namespace
}  // namespace quibra::protocol

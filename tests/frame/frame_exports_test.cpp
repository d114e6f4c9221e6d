// The frame's exports as an application calls them.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "frame/comm_params.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using FrameExports = ModuleTest;

TEST_F(FrameExports, VersionAndBcd) {
  EXPECT_EQ(fnQuibra_GetLibraryVersion(), 172);
  EXPECT_EQ(fnBcdToBin(0x59), 59);
  EXPECT_EQ(fnBinToBcd(59), 0x59);
  EXPECT_EQ(fnBcdToBin(0x00), 0);
  EXPECT_EQ(fnBinToBcd(99), 0x99);
  // No range check: 123 packs its hundreds into the upper nibble arithmetic.
  EXPECT_EQ(fnBinToBcd(123), (12 << 4) + 3);
  EXPECT_EQ(fnBcdToBin(0xFF), 15 + 15 * 10);
}

TEST_F(FrameExports, MonitorNamesFollowTheVariantRules) {
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(12, -1), "Orvek K61e / K60e / K60");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(6, -1), "Orvek K41 / K40");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(10, -1), "Orvek K41 / K40");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(22, -1), "Orvek K65T / K55T");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(23, -1), "Orvek K65");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(7, 0), "");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(39, 0), "");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(41, 0), "");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(5, 18), "");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(20, 36), "Orvek K61e");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(7, 52), "Orvek K70e");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(40, 18), "Orvek K50e");
  // Variants outside -1..52 fall back to the type's own name.
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(11, 53), "Orvek K50");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(11, -2), "Orvek K50");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(38, 3), "Orvek PR9W");
  EXPECT_STREQ(fnQuibra_GetOrvekHRMonitorName(40, 0), "Orvek M2");
}

TEST_F(FrameExports, ValidateCommParamsRepairsByDirection) {
  CommParams read{};
  read.LinkType = 7;
  read.MonitorType = 150;
  EXPECT_EQ(frame::ValidateCommParams(read, 1), 1);
  EXPECT_EQ(read.Size, 364u);
  EXPECT_EQ(read.LinkType, 1u);
  EXPECT_EQ(read.MonitorType, 0);

  CommParams send{};
  send.LinkType = 7;
  send.MonitorType = -3;
  frame::ValidateCommParams(send, 0);
  EXPECT_EQ(send.Size, 364u);
  EXPECT_EQ(send.LinkType, 0u);
  EXPECT_EQ(send.MonitorType, 0);

  CommParams kept{};
  kept.Size = 200;
  kept.LinkType = 0;
  kept.MonitorType = 99;
  frame::ValidateCommParams(kept, 1);
  EXPECT_EQ(kept.Size, 200u);
  EXPECT_EQ(kept.LinkType, 0u);
  EXPECT_EQ(kept.MonitorType, 99);
}

TEST_F(FrameExports, ComTexts) {
  EXPECT_STREQ(frame::GetComText(0), "Cancel");
  EXPECT_STREQ(frame::GetComText(3), "No answer from HR Monitor");
  EXPECT_STREQ(frame::GetComText(5), "Starting Connection...");
  EXPECT_STREQ(frame::GetComText(6), "Infrared Connection");
  EXPECT_STREQ(frame::GetComText(7), "Writing...");
  EXPECT_EQ(frame::GetComText(8), nullptr);
  EXPECT_EQ(frame::GetComText(-1), nullptr);

  const std::string long_text(150, 'x');
  EXPECT_EQ(fnQuibra_SetComText(2, long_text.c_str()), 1);
  EXPECT_EQ(std::string(frame::GetComText(2)), std::string(99, 'x'));
  EXPECT_EQ(fnQuibra_SetComText(8, "Abbrechen"), 0);
  EXPECT_EQ(fnQuibra_SetComText(0, nullptr), 0);
  EXPECT_EQ(fnQuibra_SetComText(0, "Abbrechen"), 1);
  EXPECT_STREQ(frame::GetComText(0), "Abbrechen");
  // A shorter text leaves nothing of the longer one behind.
  EXPECT_EQ(fnQuibra_SetComText(2, "ab"), 1);
  EXPECT_STREQ(frame::GetComText(2), "ab");

  EXPECT_EQ(fnQuibra_ResetComTexts(), 1);
  EXPECT_STREQ(frame::GetComText(0), "Cancel");
  EXPECT_STREQ(frame::GetComText(2), "Reading...");
}

TEST_F(FrameExports, CancelGoesThroughTheFlags) {
  EXPECT_EQ(fnQuibra_CancelExerciseReading(), 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagCancelRequest), 1);
}

class DataFileId : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("quibra-datafile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    ModuleTest::TearDown();
  }
  CommParams params_for(const std::string& content) {
    const auto path = dir_ / "data.txt";
    std::ofstream(path, std::ios::binary) << content;
    CommParams p{};
    p.ReadFromDataFile = 1;
    std::strncpy(p.FilePath, path.c_str(), sizeof p.FilePath - 1);
    return p;
  }
  std::filesystem::path dir_;
};

TEST_F(DataFileId, FindsTheFirstIdentifyingSectionInItsOwnOrder) {
  CommParams both = params_for("OrvekData9017\r\n01 02\r\nOrvekData9068\r\n03\r\n");
  EXPECT_EQ(fnGetIDFromDataFile(&both), 9068);  // 9068 is looked for before 9017
  CommParams first = params_for("x\nOrvekData9017\nOrvekData9003\n");
  EXPECT_EQ(fnGetIDFromDataFile(&first), 9003);
  CommParams none = params_for("OrvekData90030\nOrvekData9003 \nOrvekData9004\n");
  EXPECT_EQ(fnGetIDFromDataFile(&none), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 0);
}

TEST_F(DataFileId, MissingFileSetsErrorTwo) {
  CommParams p{};
  p.ReadFromDataFile = 1;
  std::strncpy(p.FilePath, (dir_ / "absent.txt").c_str(), sizeof p.FilePath - 1);
  EXPECT_EQ(fnGetIDFromDataFile(&p), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);

  frame::SetErrorCode(0);
  CommParams empty{};
  empty.ReadFromDataFile = 1;
  EXPECT_EQ(fnGetIDFromDataFile(&empty), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
}

TEST_F(DataFileId, WithoutReadFromDataFileNothingIsTouched) {
  CommParams p{};
  std::strncpy(p.FilePath, "/nonexistent/dir/file", sizeof p.FilePath - 1);
  EXPECT_EQ(fnGetIDFromDataFile(&p), 1);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 0);
  // An unterminated path field is read only within its 260 bytes.
  CommParams full{};
  full.ReadFromDataFile = 1;
  std::memset(full.FilePath, 'a', sizeof full.FilePath);
  EXPECT_EQ(fnGetIDFromDataFile(&full), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
}

}  // namespace
}  // namespace quibra::testing

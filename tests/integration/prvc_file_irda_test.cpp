// Running and cycling units of types 36 and 38 holding three exercise files each, over the
// in-process IrDA stack: the files are listed, downloaded one by one, decoded and written as HRM
// files; a download the unit breaks off is retried or fails cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "irda_stack.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "sim/encoders/prvc_file_encoder.h"
#include "support/module_fixture.h"
#include "unit.h"

namespace quibra::testing {
namespace {

namespace fs = std::filesystem;
constexpr int32_t kIrda = 0x20;

class FileUnitOverIrda : public ModuleTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  void SetUp() override {
    platform::set_clock(&clock_);
    stack_.add_unit(unit_);
    ASSERT_EQ(fnQuibraExt_SetIrdaStack(&stack_.table()), 1);
    ModuleTest::SetUp();
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    dir_ = fs::temp_directory_path() / ("quibra-file-irda-" + name);
    fs::create_directories(dir_);
    for (int32_t n = 0; n < 3; ++n)
      exercises_.push_back(Exercise(n));
    std::vector<sim::Bytes> files;
    for (const auto& x : exercises_)
      files.push_back(sim::EncodeFileExercise(x));
    unit_.set_exercise_files(files);
    ASSERT_EQ(fnQuibra_StartIRCommunication(kIrda, "IRDA"), 1);
    for (int i = 0; i < 5000 && fnQuibra_IsIrDAConnected() == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(fnQuibra_IsIrDAConnected(), 1);
  }
  void TearDown() override {
    fnQuibra_EndIRCommunication(0);
    ModuleTest::TearDown();
    fnQuibraExt_SetIrdaStack(nullptr);
    platform::set_clock(nullptr);
    fs::remove_all(dir_);
  }

  // Exercise n: speed and cadence, 1 s then 5 s after a marker, two laps; large enough to take
  // three packets.
  sim::FileExercise Exercise(int32_t n) const {
    sim::FileExercise x;
    x.type = GetParam();
    x.product_code = static_cast<uint8_t>(unit_.product_code());
    x.name = "Run " + std::to_string(n + 1);
    x.speed = x.cadence = true;
    x.day = 10 + n;
    x.start_seconds = 3600 * (7 + n);
    x.scale = 1000;
    x.segments = {{1, {}}, {5, {}}};
    for (int32_t i = 0; i < 500 + 50 * n; ++i)
      x.segments[0].records.push_back({100 + i % 60, 50 + 5 * (i % 20), 30, 70 + i % 9});
    for (int32_t i = 0; i < 20; ++i)
      x.segments[1].records.push_back({150, 100, 30, 80});
    const auto samples = static_cast<int32_t>(x.segments[0].records.size()) + 5 * 20;
    x.duration_tenths = samples * 10;
    x.laps = {{600, false, 140, 130, 160}, {1200 + 10 * n, true, 150, 140, 170}};
    return x;
  }
  static int32_t Samples(const sim::FileExercise& x) {
    return static_cast<int32_t>(x.segments[0].records.size() + 5 * x.segments[1].records.size());
  }
  std::string SaveHrm(int32_t n) {
    const std::string path = (dir_ / ("exercise-" + std::to_string(n) + ".hrm")).string();
    char buffer[260] = {};
    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 1);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  platform::ScaledClock clock_{0.02};
  sim::Unit unit_{GetParam(), 1};
  sim::IrdaStack stack_;
  fs::path dir_;
  std::vector<sim::FileExercise> exercises_;
};

TEST_P(FileUnitOverIrda, ListsDownloadsDecodesAndWritesEveryFile) {
  for (int32_t n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    ExeFileInfo info{};
    ASSERT_EQ(fnQuibra_GetExeFileInfoEx(0, n, &info), 1);
    EXPECT_STREQ(info.Name, exercises_[static_cast<size_t>(n)].name.c_str());
    EXPECT_EQ(info.StartDate, 20260310 + n);
    EXPECT_EQ(info.StartTime, 3600 * (7 + n));
    EXPECT_EQ(info.Interval, 1);
    EXPECT_EQ(info.Speed, 1);
    EXPECT_EQ(info.Cadence, 1);
  }
  for (int32_t n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    const auto& x = exercises_[static_cast<size_t>(n)];
    ASSERT_EQ(fnQuibra_ReadExerciseFile(0, n, 0), 1);
    EXPECT_EQ(fnQuibra_GetRecParam(5), GetParam());
    EXPECT_EQ(fnQuibra_GetRecParam(9), 20260310 + n);
    ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), Samples(x));
    EXPECT_EQ(fnQuibra_GetHRMSamples(2, 7), x.segments[0].records[7].speed);
    EXPECT_EQ(fnQuibra_GetHRMSamples(3, Samples(x) - 1), 80);
    ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 2);
    EXPECT_EQ(fnQuibra_GetIntTimeData(1, 601), 1200 + 10 * n);

    const std::string hrm = SaveHrm(n);
    EXPECT_NE(hrm.find("Monitor=" + std::to_string(GetParam()) + "\r\n"), std::string::npos);
    EXPECT_NE(hrm.find("SMode=110000100\r\n"), std::string::npos);
    EXPECT_NE(hrm.find("Interval=1\r\n"), std::string::npos);
    // Heart rate, speed and cadence of the first sample, and one line per sample.
    EXPECT_NE(hrm.find("[HRData]\r\n100\t50\t70\r\n"), std::string::npos);
    const std::string data = hrm.substr(hrm.find("[HRData]"));
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 1 + Samples(x));
  }
}

TEST_P(FileUnitOverIrda, ABrokenDownloadIsRetriedOrFailsCleanly) {
  // A packet lost on the air is asked for again.
  unit_.queue_fault(sim::Fault::InTrain(sim::FaultKind::DropPacket, 1));
  ASSERT_EQ(fnQuibra_ReadExerciseFile(0, 0, 0), 1);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), Samples(exercises_[0]));

  // The unit falls silent in the middle of the file: the download fails, the exercise decoded
  // before stays as it was, and what came of the file is not decoded.
  unit_.queue_fault(sim::Fault::InTrain(sim::FaultKind::FallSilent, 1));
  EXPECT_NE(fnQuibra_ReadExerciseFile(0, 2, 0), 1);
  EXPECT_EQ(fnQuibra_GetRecParam(9), 20260310);
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 0);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 0);

  unit_.clear_faults();
  ASSERT_EQ(fnQuibra_ReadExerciseFile(0, 2, 0), 1);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), Samples(exercises_[2]));
}

INSTANTIATE_TEST_SUITE_P(Types, FileUnitOverIrda, ::testing::Values(36, 38));

}  // namespace
}  // namespace quibra::testing

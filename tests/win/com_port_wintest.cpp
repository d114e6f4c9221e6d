// A download over a real serial port through the win32 byte port: com_port.sh serves a
// simulated type-22 unit with three exercises on a pty, makes it wine's COM5 and names the port
// and an output folder in QUIBRA_COM_PORT and QUIBRA_COM_OUT. The unit is identified, its
// memory downloaded, and every exercise decoded and saved as an HRM file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "quibra/quibra.h"

namespace quibra::testing {
namespace {

constexpr int32_t kSerialAdapter = 0x00;
constexpr int32_t kAskTheUnit = 0;
constexpr int32_t kOneExercise = 0;

TEST(ComPort, DownloadsTheExercisesOfTheSimulatedUnit) {
  const char* port = std::getenv("QUIBRA_COM_PORT");
  const char* out = std::getenv("QUIBRA_COM_OUT");
  if (port == nullptr || out == nullptr) GTEST_SKIP() << "run by com_port.sh";

  ASSERT_EQ(fnQuibra_StartIRCommunication(kSerialAdapter, port), 1) << port;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  MonitorInfo info{};
  info.MonitorInUse = -1;
  const int32_t identified = fnQuibra_ReadMonitorInfo(&params, &info);
  // Without a window the download runs without its dialog: 1 completed, 2 no link, 3 no answer.
  const int32_t downloaded = identified == 1 ? fnQuibra_ReadExercisesData(0, kAskTheUnit) : 0;
  fnQuibra_EndIRCommunication(0);
  ASSERT_EQ(identified, 1);
  EXPECT_EQ(info.MonitorInUse, 22);
  ASSERT_EQ(downloaded, 1);

  int32_t saved = 0;
  for (int32_t n = 0; n < 10 && fnQuibra_AnalyzeFile(n, kOneExercise) == 1; ++n) {
    std::string path = std::string(out) + "\\exercise-" + std::to_string(n + 1) + ".hrm";
    char buffer[260] = {};
    path.copy(buffer, sizeof buffer - 1);
    ASSERT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 1) << path;
    EXPECT_GT(fnQuibra_GetNbrOfHRMSamples(), 0);
    std::ifstream file(path);
    std::string first;
    std::getline(file, first);
    EXPECT_EQ(first.rfind("[Params]", 0), 0u) << path;
    ++saved;
  }
  EXPECT_EQ(saved, 3);
}

}  // namespace
}  // namespace quibra::testing

#include "exercise_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "arguments.h"
#include "quibra/quibra.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

namespace fs = std::filesystem;

// Exercise parameters: the date (yyyymmdd), the start (1/10 s since midnight) and the duration
// (ms).
constexpr int32_t kDate = 9;
constexpr int32_t kStart = 10;
constexpr int32_t kDuration = 11;
// Any nonzero window runs the download dialog; the headless host owns no real window.
constexpr uint32_t kDialogOwner = 1;
constexpr int32_t kAskTheUnit = 0;
constexpr int32_t kSingleExercises = 0;  // the memory as the unit sends its exercises
// The error code of an exercise whose length runs past the memory: none can be found after it.
constexpr int32_t kBrokenChain = 103;

int Usage() {
  std::fprintf(stderr,
               "usage: quibra download --port DEV [--link serial|usb|irda] --out DIR\n"
               "       quibra decode FILE.bin --out DIR\n");
  return 2;
}

std::string Clock(int64_t tenths) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(tenths / 36000),
                static_cast<long long>(tenths / 600 % 60),
                static_cast<long long>(tenths / 10 % 60));
  return text;
}

bool FillPath(CommParams& params, const std::string& path) {
  if (path.size() >= sizeof params.FilePath) return false;
  std::memcpy(params.FilePath, path.data(), path.size());
  return true;
}

}  // namespace

bool SaveDecodedExercise(const std::string& path) {
  char buffer[260] = {};
  if (path.size() >= sizeof buffer) return false;
  std::memcpy(buffer, path.data(), path.size());
  if (fnQuibra_SaveExerciseHRM(0, buffer, 0) != 1) {
    std::fprintf(stderr, "quibra: cannot write %s\n", path.c_str());
    return false;
  }
  const int32_t date = fnQuibra_GetRecParam(kDate);
  std::printf("%s  %04d-%02d-%02d %s  %s  %5d samples  %3d laps\n", path.c_str(), date / 10000,
              date / 100 % 100, date % 100, Clock(fnQuibra_GetRecParam(kStart)).c_str(),
              Clock(fnQuibra_GetRecParam(kDuration) / 100).c_str(), fnQuibra_GetNbrOfHRMSamples(),
              fnQuibra_GetNbrOfIntTimes());
  return true;
}

bool DownloadExercises() {
  const int32_t result = fnQuibra_ReadExercisesData(kDialogOwner, kAskTheUnit);
  if (result == 1) return true;
  std::fprintf(stderr, "quibra: the exercises were not downloaded\n");
  return false;
}

int SaveExercises(const std::string& dir, int& refused) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "quibra: cannot make %s\n", dir.c_str());
    return -1;
  }
  int count = 0;
  std::string last_reason;
  for (int32_t n = 0;; ++n) {
    if (fnQuibra_AnalyzeFile(n, kSingleExercises) == 1) {
      const std::string path =
          (fs::path(dir) / ("exercise-" + std::to_string(n + 1) + ".hrm")).string();
      if (!SaveDecodedExercise(path)) return -1;
      ++count;
      continue;
    }
    // Without a reason the chain has ended; with one this exercise is damaged and the next
    // may still be sound, unless its length broke the chain (or the same one fails again).
    char reason[160] = {};
    if (fnQuibraExt_GetFailureText(reason, sizeof reason) == 0 || last_reason == reason) break;
    std::fprintf(stderr, "quibra: %s\n", reason);
    last_reason = reason;
    ++refused;
    if (fnQuibra_GetErrorCode() == kBrokenChain) break;
  }
  return count;
}

int DownloadCommand(int argc, char** argv) {
  std::string port;
  std::string out;
  LinkKind link = LinkKind::Serial;
  for (int i = 0; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    const std::string value = argv[i + 1];
    if (arg == "--port") {
      port = value;
    } else if (arg == "--out") {
      out = value;
    } else if (arg == "--link" && ParseLinkKind(value, link)) {
    } else {
      return Usage();
    }
  }
  if (argc % 2 != 0 || out.empty() || (port.empty() && link == LinkKind::Serial)) return Usage();
  TerminalView view;
  if (!OpenLink(port, link)) return 1;
  const bool downloaded = DownloadExercises();
  fnQuibra_EndIRCommunication(0);
  if (!downloaded) return 1;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  const std::string memory = (fs::path(out) / "memory.bin").string();
  std::error_code error;
  fs::create_directories(out, error);
  if (error || !FillPath(params, memory) || fnQuibra_SaveExerciseBinFile(&params) != 1) {
    std::fprintf(stderr, "quibra: cannot write %s\n", memory.c_str());
    return 1;
  }
  int refused = 0;
  return SaveExercises(out, refused) < 0 || refused > 0 ? 1 : 0;
}

int DecodeCommand(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "--out") return Usage();
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (!FillPath(params, argv[0]) || fnQuibra_LoadExerciseBinFile(&params) != 1) {
    std::fprintf(stderr, "quibra: cannot read %s\n", argv[0]);
    return 1;
  }
  fnQuibra_RefreshMonitorInfo(0);  // the unit the memory came from
  int refused = 0;
  const int count = SaveExercises(argv[2], refused);
  if (count < 0) return 1;
  if (count == 0 && refused == 0) std::fprintf(stderr, "quibra: no exercise in %s\n", argv[0]);
  return count > 0 && refused == 0 ? 0 : 1;
}

}  // namespace quibra::cli

// HRM writing beside fwrite: fnQuibra_SaveExerciseHRM of a decoded exercise (the type 38 file,
// every sample with speed, cadence and altitude), against fopen, fwrite and fclose of the very
// bytes the save wrote. Both as bytes of file per second of CPU (the kernel's share included),
// measured in alternating slices, each figure the median of its slices.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "exercise_images.h"
#include "frame/lifecycle.h"
#include "frame/module.h"
#include "quibra/quibra.h"
#include "side_by_side.h"
#include "support/exercise_image.h"

namespace quibra::bench {
namespace {

constexpr double kHrmGoal = 0.5;  // within twice the time of fwrite

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::vector<Figure> HrmFigures() {
  frame::LoadModule();
  module().unit.type = 38;
  if (!testing::LoadExerciseImage(FullType38File()) || fnQuibra_AnalyzeFile(0, 0) != 1) {
    frame::UnloadModule();
    throw std::runtime_error("the type 38 file did not decode");
  }
  const std::string base = "/tmp/quibra_side_by_side_" + std::to_string(getpid());
  std::array<char, 260> path{};
  std::snprintf(path.data(), path.size(), "%s.hrm", base.c_str());
  // The reference writes the very bytes of the first save.
  bool saved = fnQuibra_SaveExerciseHRM(0, path.data(), 0) == 1;
  const std::string bytes = ReadAll(path.data());
  if (!saved || bytes.empty()) {
    frame::UnloadModule();
    throw std::runtime_error("the HRM file was not saved");
  }
  const std::string plain = base + "_fwrite.hrm";
  bool written = true;
  const auto save = [&] { saved = fnQuibra_SaveExerciseHRM(0, path.data(), 0) == 1 && saved; };
  const auto write_plain = [&] {
    FILE* f = std::fopen(plain.c_str(), "wb");
    written =
        f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && written;
    if (f != nullptr) written = std::fclose(f) == 0 && written;
  };
  const auto [saves, writes] = AlternatingRates(save, write_plain).Median();
  frame::UnloadModule();
  unlink(path.data());
  unlink(plain.c_str());
  if (!saved) throw std::runtime_error("an HRM save failed");
  if (!written) throw std::runtime_error("cannot write " + plain);
  const auto size = static_cast<double>(bytes.size());
  return {Figure{"HRM writing (type 38 file)", saves * size, writes * size, "file bytes per CPU s",
                 "fopen+fwrite+fclose", kHrmGoal}};
}

}  // namespace quibra::bench

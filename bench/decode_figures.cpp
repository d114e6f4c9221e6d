// Decoding beside memcpy: every exercise of a whole-memory image decoded by
// fnQuibra_AnalyzeFile, against a plain copy of the same image. Both as bytes of image per
// second of CPU, measured in alternating slices; the decoding must reach its floor on its own,
// the copy shows what the machine moves in the same run.
#include <cstring>
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

constexpr double kDecodeFloor = 300e6;  // bytes of image per CPU second

// Keeps the compiler from dropping a copy whose result nobody reads.
void Touch(void* p) {
  asm volatile("" : : "r"(p) : "memory");
}

// Decodes exercises 0..count-1 of the image (mode: 1 whole memory, 0 one exercise file), in
// alternating slices with a plain copy of the same image.
Figure DecodeFigure(const std::string& name, const sim::Bytes& image, int32_t count, int32_t mode,
                    int32_t unit_type, double floor) {
  frame::LoadModule();
  if (!testing::LoadExerciseImage(image)) throw std::runtime_error(name + ": image too large");
  bool decoded = true;
  sim::Bytes copy(image.size());
  const auto decode = [&] {
    for (int32_t n = 0; n < count; ++n) {
      if (unit_type != 0) module().unit.type = unit_type;
      decoded = fnQuibra_AnalyzeFile(n, mode) == 1 && fnQuibra_GetNbrOfHRMSamples() > 0 && decoded;
    }
  };
  const auto copy_image = [&] {
    std::memcpy(copy.data(), image.data(), image.size());
    Touch(copy.data());
  };
  const auto [decodes, copies] = AlternatingRates(decode, copy_image).Fastest();
  frame::UnloadModule();
  if (!decoded) throw std::runtime_error(name + ": an exercise did not decode");
  const auto size = static_cast<double>(image.size());
  Figure f{name, decodes * size, copies * size, "image bytes per CPU s", "memcpy", 0};
  f.minimum = floor;
  return f;
}

}  // namespace

std::vector<Figure> DecodeFigures() {
  return {
      DecodeFigure("decoding K-series memory", FullKSeriesMemory(), kExercises, 1, 0, kDecodeFloor),
      DecodeFigure("decoding outdoor memory", FullOutdoorMemory(), kExercises, 1, 0, kDecodeFloor),
      DecodeFigure("decoding type 38 file", FullType38File(), 1, 0, 38, 0),
  };
}

}  // namespace quibra::bench

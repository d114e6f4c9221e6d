// Feeds arbitrary exercise memories to fnQuibra_AnalyzeFile for every monitor type and both
// image modes. Input: byte 0 picks the monitor type, byte 1 the mode and exercise index, the
// rest is the image. The decoders must return without reading outside the buffer.
#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "quibra/quibra.h"

namespace {

struct TypeCode {
  int32_t monitor_type;
  uint8_t product_code;  // 0: the unit has none; only single-exercise images are tried
};

constexpr std::array<TypeCode, 14> kTypes = {{{6, 0},
                                              {9, 0},
                                              {10, 0},
                                              {11, 17},
                                              {12, 34},
                                              {13, 51},
                                              {15, 68},
                                              {20, 85},
                                              {21, 102},
                                              {22, 19},
                                              {23, 37},
                                              {30, 30},
                                              {31, 31},
                                              {32, 32}}};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const TypeCode& type = kTypes[data[0] % kTypes.size()];
  const bool whole = (data[1] & 1) != 0 && type.product_code != 0;
  const int32_t index = (data[1] >> 1) & 7;
  auto& m = quibra::module();
  m.exercise_memory.allocate();
  int32_t position = 0;
  for (size_t i = 2; i < size && position < 262144; ++i) {
    ++position;
    uint8_t value = data[i];
    if (whole && position == 2) value = type.product_code;
    if (!whole && position == 3) value = 0;  // no product code: the set type stays
    if (!m.exercise_memory.store(position, value)) break;
  }
  m.exercise_memory.set_count(position);
  m.unit.type = type.monitor_type;
  fnQuibra_AnalyzeFile(index, whole ? 1 : 0);
  // Read everything back, as an application would.
  const int32_t samples = fnQuibra_GetNbrOfHRMSamples();
  for (int32_t i = 0; i < samples; ++i)
    fnQuibra_GetHRMSamples(1 + i % 24, i);
  const int32_t laps = fnQuibra_GetNbrOfIntTimes();
  for (int32_t i = 0; i < laps; ++i) {
    fnQuibra_GetIntTimeData(i, 601);
    fnQuibra_GetLapText(i, 700);
  }
  return 0;
}

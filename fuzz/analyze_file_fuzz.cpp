// Feeds arbitrary exercise memories to the decoder of every unit family (fnQuibra_AnalyzeFile,
// or fnQuibra_AnalyzeTonvoxFile for the units that download by sound) and to
// fnQuibra_GetExeFileInfo, in both image modes (input format in fuzz_input.h). The decoders must
// return without reading outside the buffer.
#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "fuzz/fuzz_input.h"
#include "quibra/quibra.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const quibra::fuzz::FuzzUnit& type =
      quibra::fuzz::kFuzzUnits[data[0] % quibra::fuzz::kFuzzUnits.size()];
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
  // The sound-download units have no exercise layout of their own in AnalyzeFile: their memory
  // is the assembled sound download, which the sound analysis decodes.
  if (type.by_sound) {
    fnQuibra_AnalyzeTonvoxFile(type.monitor_type, 0, 0);
  } else {
    fnQuibra_AnalyzeFile(index, whole ? 1 : 0);
  }
  // Read everything back, as an application would.
  const int32_t samples = fnQuibra_GetNbrOfHRMSamples();
  for (int32_t i = 0; i < samples; ++i)
    fnQuibra_GetHRMSamples(1 + i % 24, i);
  const int32_t laps = fnQuibra_GetNbrOfIntTimes();
  for (int32_t i = 0; i < laps; ++i) {
    fnQuibra_GetIntTimeData(i, 601);
    fnQuibra_GetLapText(i, 700);
  }
  // The listing reads the same headers without decoding.
  m.unit.type = type.monitor_type;
  ExeFileInfo info{};
  fnQuibra_GetExeFileInfo(index, &info);
  char name[8];
  fnQuibra_SportExeName(name, 0);
  return 0;
}

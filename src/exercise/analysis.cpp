#include "exercise/analysis.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codec/product_codes.h"
#include "codec/unit_families.h"
#include "exercise/bin_files.h"
#include "exercise/exercise_checks.h"
#include "exercise/exercise_locator.h"
#include "exercise/file_info.h"
#include "exercise/fitness_data.h"
#include "exercise/k_series_decoder.h"
#include "exercise/outdoor_decoder.h"
#include "exercise/prvc_file_decoder_a.h"
#include "exercise/prvc_file_decoder_b.h"
#include "exercise/prvc_file_fields.h"
#include "exercise/single_model_decoders.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/dump_path.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kWholeModelPosition = 2;
constexpr int32_t kWholeVersionPosition = 3;
constexpr int32_t kSingleModelPosition = 3;
constexpr int32_t kSingleVersionPosition = 4;
constexpr int32_t kNotePosition = 4;
constexpr int32_t kParamMaxHeartRate = 25;
constexpr int32_t kParamWeight = 90;

// The decoder of each monitor type; a null decoder means there is nothing to decode. The
// file-based units (kFileDecoders) take the analysis mode itself.
using Decoder = int32_t (*)(const MemoryReader&, ExerciseStore&, int32_t, int32_t, ImageMode);
struct Dispatch {
  int32_t monitor_type;
  Decoder decode;
};
constexpr std::array<Dispatch, 18> kDispatch = {{
    {6, nullptr},
    {9, nullptr},
    {10, nullptr},
    {11, DecodeKSeriesExercise},
    {12, DecodeKSeriesExercise},
    {13, DecodeKSeriesExercise},
    {15, DecodeKSeriesExercise},
    {22, DecodeKSeriesExercise},
    {23, DecodeKSeriesExercise},
    {20, DecodeOutdoorExercise},
    {21, DecodeOutdoorExercise},
    {24, DecodeFitnessExercise},
    {25, DecodeFitnessExercise},
    {26, DecodeFitnessExercise},
    {27, DecodeFitnessExercise},
    {30, DecodeType30Exercise},
    {31, DecodeType31Exercise},
    {32, DecodeType32Exercise},
}};

// The file-based units' decoders take the analysis mode: 2 decodes an R-R capable exercise as
// an R-R recording.
using FileDecoder = int32_t (*)(const MemoryReader&, ExerciseStore&, int32_t, int32_t, RrDecoding);
struct FileDispatch {
  int32_t monitor_type;
  FileDecoder decode;
};
constexpr std::array<FileDispatch, 6> kFileDecoders = {{
    {33, DecodeFileExerciseA},
    {34, DecodeFileExerciseB},
    {35, DecodeFileExerciseA},
    {36, DecodeFileExerciseA},
    {37, DecodeFileExerciseA},
    {38, DecodeFileExerciseB},
}};
constexpr int32_t kRrOnlyMode = 2;

// Types whose note is copied from a whole-memory image.
constexpr std::array<int32_t, 4> kNoteTypes = {20, 21, 22, 23};

// Type 32 and the newer units were identified by their product code (by identification or by
// a sound download); an exercise image, which carries another layout, must not override that.
bool IdentifiedByProductCode(int32_t type) {
  return type == 32 || codec::IsNewer(type);
}

// The exercise's name from its header, and the user's maximum heart rate and weight from the
// user settings read with the exercises, which the exercise itself does not keep.
void AddWhatTheUnitTold(ExerciseStore& store, int32_t type, int32_t index, ImageMode image) {
  AnalysisState& analysis = module().analysis;
  ExeFileInfo info{};
  if (image == ImageMode::kSingleExercise && GetExeFileInfo(index, info) == 1) {
    std::string name(info.Name, strnlen(info.Name, kExerciseNameLength + 1));
    name.erase(name.find_last_not_of(' ') + 1);  // the unit pads a name with blanks
    analysis.exercise_name = name;
  }
  if (type != 22 && type != 23) return;
  if (analysis.user_value > 0)
    store.SetExerciseParam(kRec, kParamMaxHeartRate, analysis.user_value);
  if (analysis.user_weight > 0) store.SetExerciseParam(kRec, kParamWeight, analysis.user_weight);
}

}  // namespace

void RefreshUnitFromSingleImage() {
  Module& m = module();
  if (IdentifiedByProductCode(m.unit.type)) return;
  const MemoryReader memory(m.exercise_memory);
  // Units without a product code (types 6, 9, 10) keep the type their detection gave.
  const int32_t mapped = codec::MonitorTypeOfProductCode(memory.byte(kSingleModelPosition));
  if (mapped > 0) m.unit.type = mapped;
  m.analysis.unit_version = memory.byte(kSingleVersionPosition);
}

void ClearMaxHeartRateCache() {
  module().analysis.max_heart_rate = 0;
}

int32_t AnalyzeFile(int32_t index, int32_t mode) {
  Module& m = module();
  if (frame::GetStateFlag(frame::kFlagOnlineMode) != 0) return 1;
  // The extra analysis step (flag 2012) first dumps the exercise memory as a text file.
  if (frame::GetStateFlag(frame::kFlagExtraAnalysis) != 0) {
    WriteMemoryDump(platform::MemoryDumpPath());
  }
  ClearRejection();
  m.analysis.exercise_name.clear();
  ExerciseStore& store = m.exercise_store;
  store.ResetExerciseRecord(kRec);
  const MemoryReader memory(m.exercise_memory);
  const ImageMode image = mode == 1 ? ImageMode::kWholeMemory : ImageMode::kSingleExercise;
  if (image == ImageMode::kWholeMemory) {
    m.unit.type = codec::MonitorTypeOfProductCode(memory.byte(kWholeModelPosition));
    m.analysis.unit_version = memory.byte(kWholeVersionPosition);
  } else {
    RefreshUnitFromSingleImage();
  }
  const int32_t type = m.unit.type;
  store.SetExerciseParam(kRec, kParamMonitorType, type);
  if (image == ImageMode::kWholeMemory &&
      std::find(kNoteTypes.begin(), kNoteTypes.end(), type) != kNoteTypes.end()) {
    for (int32_t i = 0; i < kNoteLength; ++i) {
      m.analysis.note[static_cast<size_t>(i)] = static_cast<char>(memory.byte(kNotePosition + i));
    }
  }
  const auto file = std::find_if(kFileDecoders.begin(), kFileDecoders.end(),
                                 [&](const FileDispatch& d) { return d.monitor_type == type; });
  if (file != kFileDecoders.end()) {
    const RrDecoding rr = mode == kRrOnlyMode ? RrDecoding::kRrOnly : RrDecoding::kAsRecorded;
    if (file->decode(memory, store, type, index, rr) != 1) return 0;
    m.analysis.exercise_name = FileExerciseName(memory);
    return 1;
  }
  const auto entry = std::find_if(kDispatch.begin(), kDispatch.end(),
                                  [&](const Dispatch& d) { return d.monitor_type == type; });
  if (entry == kDispatch.end()) return 0;
  if (entry->decode == nullptr) return 1;
  if (entry->decode(memory, store, type, index, image) != 1) return 0;
  AddWhatTheUnitTold(store, type, index, image);
  return 1;
}

}  // namespace quibra::exercise

#include "exercise/exercise_download.h"

#include <array>
#include <cstring>

#include "codec/product_codes.h"
#include "codec/unit_families.h"
#include "exercise/analysis.h"
#include "exercise/exercise_locator.h"
#include "exercise/field_readers.h"
#include "exercise/prvc_file_fields.h"
#include "frame/module.h"
#include "protocol/engine_control.h"
#include "protocol/message_status.h"
#include "transfer/engine_link.h"
#include "ui/dialog_host.h"
#include "ui/download_procedure.h"

namespace quibra::exercise {
namespace {

// Where a download names the unit: model code and version (variant).
constexpr int32_t kModelPosition = 3;
constexpr int32_t kVersionPosition = 4;
constexpr int32_t kFileVersionPosition = 5;
constexpr int32_t kExtendedCode = 255;

// A file listing reads this much of the file.
constexpr int32_t kFileHeadBytes = 50;

// The file header of the file-based units, from h = 6.
constexpr int32_t kFileHeader = 6;
constexpr int32_t kFileValue = 10;  // 16 bits, low byte first
constexpr int32_t kFileSensors = 13;
constexpr int32_t kFileInterval = 14;
constexpr int32_t kFileDateB = 16;
constexpr int32_t kFileDateA = 17;
constexpr int32_t kFileStart = 18;     // time triple
constexpr int32_t kFileDuration = 21;  // seconds, minutes (bits 0..5), hours (binary)

// Sensor bits of the file header.
constexpr int32_t kAltitudeBit = 0x01;
constexpr int32_t kCadenceBit = 0x02;
constexpr int32_t kPowerBit = 0x04;
constexpr int32_t kSpeedBit = 0x08;
constexpr int32_t kFifthSensorBit = 0x10;

// Interval codes of the file-based units: group B (types 34, 38) uses three bits, the others two.
constexpr std::array<int32_t, 5> kGroupBIntervals = {1, 2, 5, 15, 60};
constexpr std::array<int32_t, 4> kGroupAIntervals = {1, 5, 15, 60};

// Runs the download the selection names, with the dialog or silently. 1 on completion.
int32_t RunDownload(uint32_t window, bool& completed) {
  Module& m = module();
  // Whether a link was there to ask the unit: without one the buffer is not touched.
  const bool linked = protocol::GetCurrentMessageStatus() != protocol::kStatusNoLink;
  int32_t result = 0;
  if (window != 0) {
    ui::DownloadProcedure procedure(transfer::transfer_link(), &RefreshMonitorInfo);
    result = ui::dialog_host().run_modal(ui::DialogId::Connection, window, procedure);
    completed = result == 1;
  } else {
    const int32_t status =
        ui::SilentExerciseDownload(transfer::transfer_link(), &RefreshMonitorInfo);
    completed = status == protocol::kStatusCompleted;
    result = protocol::SilentResult(status);
  }
  // A download that ended without an answer, or lost its line on the way, leaves no bytes to
  // decode: what came is not the whole memory, and an exercise decoded from it would claim to
  // be complete. (A dialog closed by the user may leave the engine still at work on the buffer,
  // and without a link nothing was asked for: the buffer is not touched then.)
  const int32_t status = protocol::GetCurrentMessageStatus();
  if (!completed &&
      (status == protocol::kStatusNoAnswer || (linked && status == protocol::kStatusNoLink))) {
    m.exercise_memory.set_count(0);
  }
  return result;
}

}  // namespace

int32_t ReadExercisesData(uint32_t window, int32_t mode) {
  Module& m = module();
  m.transfer.download = {mode, 0, 0, 0};
  ClearMaxHeartRateCache();
  bool completed = false;
  const int32_t result = RunDownload(window, completed);
  if (completed && window == 0) {
    const MemoryReader memory(m.exercise_memory);
    m.unit.type = codec::MonitorTypeOfProductCode(memory.byte(kModelPosition));
    m.analysis.unit_version = memory.byte(kVersionPosition);
  }
  return result;
}

int32_t ReadExerciseFile(uint32_t window, int32_t file_index, int32_t max_bytes) {
  Module& m = module();
  m.transfer.download = {0, 1, file_index, max_bytes};
  bool completed = false;
  const int32_t result = RunDownload(window, completed);
  if (!completed) return result;
  const MemoryReader memory(m.exercise_memory);
  int32_t code = memory.byte(kModelPosition);
  // A continued code maps to no type.
  if (code == kExtendedCode) code += 256 * memory.byte(kModelPosition + 1);
  m.unit.type = codec::MonitorTypeOfProductCode(code);
  m.analysis.unit_version = memory.byte(kFileVersionPosition);
  AnalyzeFile(0, 0);
  return result;
}

void RefreshMonitorInfo(int32_t extended) {
  Module& m = module();
  const MemoryReader memory(m.exercise_memory);
  int32_t code = memory.byte(kModelPosition);
  int32_t variant = memory.byte(kVersionPosition);
  if (extended != 0) {
    if (code == kExtendedCode) code += 256 * memory.byte(kModelPosition + 1);
    variant = memory.byte(kFileVersionPosition);
  }
  const int32_t type = codec::MonitorTypeOfProductCode(code);
  m.unit.type = type;
  m.unit.variant = variant;
  // The type 22 and 23 decoders need a value of the user settings; a listen-only transfer runs
  // while the unit is busy sending and is not followed by a read.
  if ((type == 22 || type == 23) && m.transfer.download.mode == 0 &&
      m.analysis.user_value_reader != nullptr) {
    if (const auto values = m.analysis.user_value_reader()) {
      m.analysis.user_value = values->max_heart_rate;
      m.analysis.user_weight = values->weight_kg;
    }
  }
}

int32_t GetExeFileInfoEx(uint32_t window, int32_t file_index, ExeFileInfo& info) {
  std::memset(&info, 0, sizeof info);
  info.Size = QUIBRA_EXE_FILE_INFO_SIZE;
  // Only a completed read is listed (a silent read that failed returns 2 or 3).
  if (ReadExerciseFile(window, file_index, kFileHeadBytes) != 1) return 0;
  const Module& m = module();
  const MemoryReader memory(m.exercise_memory);
  const int32_t type = m.unit.type;
  const auto at = [&](int32_t offset) { return memory.byte(kFileHeader + offset); };

  const std::string name = FileExerciseName(memory);
  std::memcpy(info.Name, name.data(), name.size());
  info.Name[name.size()] = '\0';
  info.HeaderValue = at(kFileValue) | at(kFileValue + 1) << 8;
  info.StartDate = PackedDate(at(kFileDateA), at(kFileDateB));
  info.StartTime = TimeTriple(memory, kFileHeader + kFileStart) / 10;
  info.Duration =
      (at(kFileDuration) & 63) + (at(kFileDuration + 1) & 63) * 60 + at(kFileDuration + 2) * 3600;

  const int32_t sensors = at(kFileSensors);
  info.Altitude = type != 36 && (sensors & kAltitudeBit) != 0 ? 1 : 0;
  info.Cadence = (sensors & kCadenceBit) != 0 ? 1 : 0;
  info.Power = type == 35 && (sensors & kPowerBit) != 0 ? 1 : 0;
  info.Speed = (sensors & kSpeedBit) != 0 ? 1 : 0;
  info.FifthSensor = (sensors & kFifthSensorBit) != 0 ? 1 : 0;

  const int32_t interval = at(kFileInterval);
  if (codec::FamilyOf(type) == codec::UnitFamily::GroupB) {
    const auto code = static_cast<size_t>(interval & 0x07);
    info.Interval = code < kGroupBIntervals.size() ? kGroupBIntervals[code] : 0;
    info.RRFlag = (interval & 0x08) != 0 ? 1 : 0;
  } else {
    info.Interval = kGroupAIntervals[static_cast<size_t>(interval & 0x03)];
    info.RRFlag = (type == 35 || type == 37) && (interval & 0x04) != 0 ? 1 : 0;
  }
  if (info.RRFlag != 0 && info.Speed == 0 && info.Cadence == 0 && info.Altitude == 0 &&
      info.Power == 0) {
    info.Interval = kRrInterval;
  }
  return 1;
}

}  // namespace quibra::exercise

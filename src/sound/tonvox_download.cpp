#include "sound/tonvox_download.h"

#include <mutex>

#include "codec/product_codes.h"
#include "frame/module.h"
#include "sound/tonvox_analysis.h"
#include "sound/tonvox_dialog.h"
#include "ui/dialog_host.h"

namespace quibra::sound {
namespace {

// Positions in the memory transfer buffer after a reception.
constexpr int32_t kPayloadLengthLow = 5;
constexpr int32_t kPayloadLengthHigh = 6;
constexpr int32_t kPayloadStart = 7;
constexpr int32_t kIdentificationCode = 8;      // type 32: the product code
constexpr int32_t kIdentificationVariant = 10;  // type 32: the variant

constexpr int32_t kRateSelect22050 = 1;
constexpr int32_t kIdentifyingType = 32;

// The units whose payload the application reads raw.
bool delivers_raw(int32_t type) {
  return type == 25 || type == 26 || type == 30 || type == 31;
}

}  // namespace

int32_t CopyTonvoxData() {
  Module& m = module();
  // The capture thread may still be listening (to silence, once all has arrived).
  std::lock_guard<std::mutex> chain(m.tonvox.chain_lock());
  const PacketAssembler& a = m.tonvox.assembled();
  m.exercise_memory.allocate();
  const auto count = static_cast<int32_t>(a.assembled_count());
  for (int32_t i = 0; i < count; ++i) {
    if (!m.exercise_memory.store(i + 1, a.assembled()[i])) break;
  }
  return m.exercise_memory.set_count(count) ? 1 : 0;
}

int32_t TonvoxPayloadLength() {
  const protocol::ExerciseMemory& memory = module().exercise_memory;
  return memory.at(kPayloadLengthLow) + 256 * memory.at(kPayloadLengthHigh);
}

int32_t TonvoxPayload(int16_t* out) {
  const int32_t length = TonvoxPayloadLength();
  if (out == nullptr) return length;
  const protocol::ExerciseMemory& memory = module().exercise_memory;
  for (int32_t i = 0; i < length; ++i)
    out[i] = memory.at(kPayloadStart + i);
  return length;
}

int32_t ReadTonvoxData(uint32_t parent, int32_t monitor_type, int32_t rate_select,
                       int32_t gain_level, int32_t debug_dump) {
  TonvoxProcedure procedure(monitor_type, rate_select == kRateSelect22050 ? 22050 : 44100,
                            gain_level, debug_dump != 0);
  const int32_t result = ui::dialog_host().run_modal(ui::DialogId::Tonvox, parent, procedure);
  if (result != 1) return procedure.retry_requested() ? 2 : 0;
  if (delivers_raw(monitor_type)) return 1;
  if (monitor_type == kIdentifyingType) {
    Module& m = module();
    // An identification with a code no known unit reports leaves the detected unit as it was.
    const int32_t type = codec::MonitorTypeOfProductCode(m.exercise_memory.at(kIdentificationCode));
    if (type >= 0) {
      m.unit.type = type;
      m.unit.variant = m.exercise_memory.at(kIdentificationVariant);
    }
    return 1;
  }
  return AnalyzeTonvoxFile(monitor_type);
}

}  // namespace quibra::sound

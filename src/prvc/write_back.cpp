#include "prvc/write_back.h"

#include <array>
#include <optional>

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "prvc/unit_memory.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

// Where the state byte lies in the second memory bank: by monitor type from a variant on.
// The first row that matches wins.
struct StateByteSource {
  int32_t type;
  int32_t min_variant;
  int32_t max_variant;
  int32_t address;
};
constexpr int32_t kAnyVariant = 15;
constexpr std::array<StateByteSource, 6> kStateByteSources = {{
    {36, 0, kAnyVariant, 55606},
    {37, 6, kAnyVariant, 55629},
    {35, 5, kAnyVariant, 55658},
    {33, 3, kAnyVariant, 55612},
    {34, 0, kAnyVariant, 55629},
    {38, 0, 2, 55629},
}};
constexpr StateByteSource kType38Late = {38, 3, kAnyVariant, 58694};

constexpr int32_t kSecondBank = 1;
// The copy goes this far below the watch area.
constexpr int32_t kCopyBelowWatchArea = 5;

std::optional<int32_t> StateByteAddress(int32_t type, int32_t variant) {
  for (const StateByteSource& row : kStateByteSources) {
    if (row.type == type && variant >= row.min_variant && variant <= row.max_variant)
      return row.address;
  }
  if (type == kType38Late.type && variant >= kType38Late.min_variant) return kType38Late.address;
  return std::nullopt;
}

}  // namespace

bool CopyStateByte(CommParams& params) {
  const std::optional<int32_t> source =
      StateByteAddress(params.MonitorType, module().unit.variant.load());
  if (!source) return true;
  std::array<uint8_t, 1> state{};
  if (!ReadUnitMemory(params, *source, kSecondBank, state, kAreaWritePauseMs)) return false;
  if (state[0] > 1) state[0] = 0;
  const int32_t target = module().memory_map.watch_area - kCopyBelowWatchArea;
  if (!WriteUnitMemory(params, params.MonitorType, target, state)) return false;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return true;
}

bool RestoreWorkingMemory(CommParams& params) {
  // The same command as the memory-restore export sends; the area writes always go over
  // infrared.
  return transfer::SendUnitMessage(params, protocol::msg::kRestoreMemory, 0) == 1;
}

bool FinishAreaWrite(CommParams& params) {
  platform::clock().sleep_ms(kAreaWritePauseMs);
  if (!CopyStateByte(params)) return false;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  if (!RestoreWorkingMemory(params)) return false;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return true;
}

}  // namespace quibra::prvc

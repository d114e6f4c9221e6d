#include "prvc/write_back.h"

#include <array>

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "prvc/unit_memory.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kSecondBank = 1;
// The watch area's first byte lies 5 bytes before the address the identification gives.
constexpr int32_t kWatchAreaLead = 5;

// Where the state byte lies in the second bank, by type and the lowest variant that keeps it.
struct StateByte {
  int32_t type;
  int32_t min_variant;  // from this variant on (0: every variant)
  int32_t max_variant;  // up to this one
  int32_t address;
};
constexpr int32_t kAnyVariant = 255;
constexpr std::array<StateByte, 7> kStateBytes = {{
    {36, 0, kAnyVariant, 55606},
    {37, 6, kAnyVariant, 55629},
    {35, 5, kAnyVariant, 55658},
    {33, 3, kAnyVariant, 55612},
    {34, 0, kAnyVariant, 55629},
    {38, 0, 2, 55629},
    {38, 3, kAnyVariant, 58694},
}};

const StateByte* FindStateByte(int32_t type, int32_t variant) {
  for (const StateByte& s : kStateBytes) {
    if (s.type == type && variant >= s.min_variant && variant <= s.max_variant) return &s;
  }
  return nullptr;
}

}  // namespace

bool CopyStateByteToWatchArea(CommParams& params) {
  const StateByte* state = FindStateByte(params.MonitorType, module().unit.variant.load());
  if (state == nullptr) return true;
  std::array<uint8_t, 1> byte{};
  if (!ReadUnitMemory(params, state->address, kSecondBank, byte, kAreaWritePauseMs)) return false;
  if (byte[0] > 1) byte[0] = 0;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  // Written and waited for, not only queued: a failed write must fail the whole send.
  const bool ok = WriteUnitMemory(params, params.MonitorType,
                                  module().memory_map.watch_area - kWatchAreaLead, byte);
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return ok;
}

// The restore is a command the units carry out without a word over IrDA (on a serial line they
// acknowledge it): it has gone out when the link took it, and only a link that is down or a
// cancelled transfer fails it. It is sent silently, since the progress dialog would take the
// missing answer for a failure.
bool RestoreWorkingMemory(const CommParams& params) {
  constexpr int32_t kAcknowledged = 1;
  constexpr int32_t kNotAnswered = 3;
  CommParams silent = params;
  silent.ShowDialog = 0;
  const int32_t result = transfer::SendUnitMessage(silent, protocol::msg::kRestoreMemory, 0);
  return result == kAcknowledged || result == kNotAnswered;
}

bool FinishMemoryWrite(CommParams& params) {
  if (!CopyStateByteToWatchArea(params)) return false;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return RestoreWorkingMemory(params);
}

}  // namespace quibra::prvc

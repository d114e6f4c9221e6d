#include "prvc/unit_memory.h"

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/raw_memory.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kScratchBytes = 500;
// The read command's data arrive from this scratch index on.
constexpr int32_t kReadDataAt = 5;
// The write command takes its data from this scratch index on.
constexpr int32_t kWriteDataAt = 12;

}  // namespace

bool ReadUnitMemory(CommParams& params, int32_t address, int32_t flag, std::span<uint8_t> out,
                    uint32_t pause_ms) {
  const auto count = static_cast<int32_t>(out.size());
  if (count <= 0 || count > kScratchBytes - kReadDataAt) return false;
  if (protocol::BuildMemoryReadCommand(0, flag, address, count) < 0) return false;
  platform::clock().sleep_ms(pause_ms);
  const bool ok = transfer::SendUnitMessage(params, protocol::msg::kMemoryRead, 0) == 1;
  platform::clock().sleep_ms(pause_ms);
  if (!ok) return false;
  const protocol::Banks& banks = module().banks;
  for (int32_t i = 0; i < count; ++i)
    out[static_cast<size_t>(i)] = banks.scratch(kReadDataAt + i);
  return true;
}

bool WriteUnitMemory(CommParams& params, int32_t type, int32_t address,
                     std::span<const uint8_t> bytes) {
  const auto count = static_cast<int32_t>(bytes.size());
  if (count > kScratchBytes - kWriteDataAt) return false;
  const int32_t data_at = protocol::BuildMemoryWriteCommand(type, 0, 0, address, count);
  if (data_at < 0) return false;
  protocol::Banks& banks = module().banks;
  for (int32_t i = 0; i < count; ++i)
    banks.set_scratch(data_at + i, bytes[static_cast<size_t>(i)]);
  return transfer::SendUnitMessage(params, protocol::msg::kMemoryWrite, 0) == 1;
}

}  // namespace quibra::prvc

#include "settings/service_blocks.h"

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "settings/unit_commands.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

// The unit needs this long after a block write before it answers a read of the same block.
constexpr uint32_t kWriteSettleMs = 500;

}  // namespace

CommParams ServiceParams(uint32_t link_type, bool show_dialog) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = link_type;
  params.ShowDialog = show_dialog ? 1 : 0;
  return params;
}

void SelectBlockLayouts(int32_t type) {
  Module& m = module();
  m.banks.clear_scratch();
  m.unit.type = type;
}

bool ReadBlock(CommParams& params, int32_t block) {
  return Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockRead, block));
}

bool WriteByteAndCheck(CommParams& params, int32_t block, uint8_t value) {
  protocol::Banks& banks = module().banks;
  banks.set_scratch(kBlockWriteAt, value);
  if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockWrite, block)))
    return false;
  platform::clock().sleep_ms(kWriteSettleMs);
  // The read answer lands one index later than the written byte, so the written image cannot
  // pass for the unit's answer.
  banks.set_scratch(kBlockReadAt, static_cast<uint8_t>(~value));
  return ReadBlock(params, block) && banks.scratch(kBlockReadAt) == value;
}

int32_t FactoryDefaultsAfter(CommParams& params, uint32_t pause_ms) {
  platform::clock().sleep_ms(pause_ms);
  return SendSimpleCommand(params, protocol::msg::kFactoryDefaults);
}

}  // namespace quibra::settings

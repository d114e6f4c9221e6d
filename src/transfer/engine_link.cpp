#include "transfer/engine_link.h"

#include "frame/state_flags.h"
#include "platform/slot.h"
#include "protocol/engine_control.h"

namespace quibra::transfer {
namespace {

// The engine's calls, as the exports make them.
class EngineLink final : public ui::TransferLink {
 public:
  int32_t send(int32_t message, int32_t param) override {
    return protocol::SendIRComMessage(message, param);
  }
  int32_t status() override { return protocol::GetCurrentMessageStatus(); }
  int32_t progress() override { return protocol::GetComProgress(); }
  void cancel() override { frame::SetStateFlag(frame::kFlagCancelRequest, 1); }
};

EngineLink g_engine_link;
platform::Slot<ui::TransferLink> g_link;

}  // namespace

ui::TransferLink& transfer_link() {
  return g_link.get([]() -> ui::TransferLink& { return g_engine_link; });
}

void set_transfer_link(ui::TransferLink* replacement) {
  g_link.set(replacement);
}

}  // namespace quibra::transfer

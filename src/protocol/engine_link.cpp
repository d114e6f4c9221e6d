// The transfer dialogs' view of the communication engine: its own calls, as the exports make
// them.
#include "exercise/exercise_download.h"
#include "frame/state_flags.h"
#include "protocol/engine_control.h"
#include "ui/transfer_link.h"

namespace quibra::ui {
namespace {

class EngineLink final : public TransferLink {
 public:
  int32_t send(int32_t message, int32_t param) override {
    return protocol::SendIRComMessage(message, param);
  }
  int32_t status() override { return protocol::GetCurrentMessageStatus(); }
  int32_t progress() override { return protocol::GetComProgress(); }
  void cancel() override { frame::SetStateFlag(frame::kFlagCancelRequest, 1); }
  void refresh_monitor_info(int32_t single_file) override {
    exercise::RefreshMonitorInfo(single_file);
  }
};

}  // namespace

TransferLink& engine_link() {
  static EngineLink link;
  return link;
}

}  // namespace quibra::ui

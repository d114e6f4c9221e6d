#include "ui/pipcast_procedure.h"

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/transfer_texts.h"

namespace quibra::ui {

void PipcastProcedure::on_start(DialogWindow& window) {
  window.center();
  std::string text = protocol::SharedDialogText();
  if (text.empty()) {
    const protocol::TransferState& t = module().transfer;
    text = protocol::GetDefaultTransferText(t.message, t.param);
  }
  window.set_text(kStatusText, text);
  window.start_timer(kPipcastTimer, kPipcastStartMs);
}

void PipcastProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kPipcastTimer) return;
  window.stop_timer(kPipcastTimer);
  platform::sound_output().play_wave_file(wave_path_);
  window.end(1);
}

void PipcastProcedure::on_button(DialogWindow& /*window*/, int32_t /*control*/) {}

}  // namespace quibra::ui

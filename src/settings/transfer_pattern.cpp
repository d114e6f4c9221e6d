#include "settings/transfer_pattern.h"

#include "frame/comm_params.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {

int32_t SendSettings(CommParams& params, const SendSteps& steps) {
  frame::ValidateCommParams(params, 0);
  const bool from_file = params.ReadFromDataFile != 0;
  if (!from_file && !steps.prepare()) return 0;
  const int32_t param = steps.param ? steps.param() : 0;
  if (params.LinkType == frame::kLinkInfrared && !from_file) {
    if (!steps.over_infrared) return 1;
    const int32_t sent = steps.infrared
                             ? steps.infrared()
                             : transfer::SendUnitMessage(params, steps.write_message, param);
    if (!Delivered(sent)) return 0;
    return steps.after_delivery ? steps.after_delivery(Delivery::Infrared) : 1;
  }
  if (sound::SendBySoundOrDataFile(params, steps.write_message, param) == 0) return 0;
  if (from_file) return steps.unpack_loaded();
  return steps.after_delivery ? steps.after_delivery(Delivery::SoundOrDataFile) : 1;
}

int32_t ReadSettings(CommParams& params, int32_t read_message, int32_t param,
                     const std::function<void()>& unpack) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  if (!Delivered(transfer::SendUnitMessage(params, read_message, param))) return 0;
  unpack();
  return 1;
}

}  // namespace quibra::settings

#include "frame/comm_params.h"

#include "frame/module.h"

namespace quibra::frame {

int32_t ValidateCommParams(CommParams& params, int32_t default_infrared) {
  if (params.Size == 0) params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (params.MonitorType < 0 || params.MonitorType > 99) params.MonitorType = 0;
  if (params.LinkType != kLinkSound && params.LinkType != kLinkInfrared) {
    params.LinkType = default_infrared != 0 ? kLinkInfrared : kLinkSound;
  }
  return 1;
}

void SetErrorCode(int32_t code) {
  module().last_error.store(code, std::memory_order_relaxed);
}

int32_t GetErrorCode() {
  return module().last_error.load(std::memory_order_relaxed);
}

}  // namespace quibra::frame

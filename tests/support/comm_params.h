// The transfer parameters most tests hand to an export: a link type (1 infrared, 0 sound) and
// the unit type the caller names, everything else zero.
#pragma once

#include <cstdint>

#include "quibra/quibra.h"

namespace quibra::testing {

inline CommParams LinkParams(uint32_t link_type = 1, int32_t monitor_type = 0) {
  CommParams p{};
  p.Size = QUIBRA_COMM_PARAMS_SIZE;
  p.LinkType = link_type;
  p.MonitorType = monitor_type;
  return p;
}

}  // namespace quibra::testing

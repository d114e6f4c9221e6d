#include "prvc/horse_mode.h"

#include <span>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "prvc/gear_area.h"

namespace quibra::prvc {

int32_t SetHorseMode(CommParams& params, int32_t on) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (!Serves(GearExport::HorseMode, params.MonitorType) || !CheckGearFlag(on)) return 0;
  const int32_t address = module().memory_map.bike_area;
  if (address == 0) return 0;
  // The horse mode shares its byte with the bike in use: only its bit changes.
  const bool ok = RewriteUnitArea(params, address, 1, [&](std::span<uint8_t> byte) {
    byte[0] = static_cast<uint8_t>(on != 0 ? byte[0] | kHorseModeBit : byte[0] & ~kHorseModeBit);
  });
  return ok ? 1 : 0;
}

}  // namespace quibra::prvc

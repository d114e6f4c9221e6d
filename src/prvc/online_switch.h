// The online-recording setting of the newer running and cycling units: a pair of bits in their
// memory that makes the unit send its beats live. Switched with a read, a write and the usual
// end of a memory write.
#pragma once

#include <cstdint>
#include <optional>

#include "prvc/unit_info.h"
#include "quibra/records.h"

namespace quibra::prvc {

// Where the setting lies for a unit type and variant, from the memory map the last
// identification gave; none for the types that have no such setting.
std::optional<int32_t> OnlineSwitchAddress(int32_t type, int32_t variant,
                                           const UnitMemoryMap& map);

// Switches the setting of the unit params.MonitorType on (enable nonzero) or off. 1 when the
// unit holds the asked state at the end (also when it already did, without writing); 0 for a
// type without the setting or a failed exchange.
int32_t ActivateOnlineRecording(CommParams& params, int32_t enable);

}  // namespace quibra::prvc

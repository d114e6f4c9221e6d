// Direct access to the memory of the newer running and cycling units: the read command (9090)
// and the write command (9089), sent through the transfer dialogs, with the pauses the units
// need around them.
#pragma once

#include <cstdint>
#include <span>

#include "quibra/records.h"

namespace quibra::prvc {

// Reads count bytes at address (flag 1: the unit's second memory bank) into out, pausing
// pause_ms before and after. False when the exchange failed or count does not fit the scratch.
bool ReadUnitMemory(CommParams& params, int32_t address, int32_t flag, std::span<uint8_t> out,
                    uint32_t pause_ms);

// Writes the bytes at address with the write command of the given unit type. False when the
// type has no write command, the bytes do not fit, or the exchange failed.
bool WriteUnitMemory(CommParams& params, int32_t type, int32_t address,
                     std::span<const uint8_t> bytes);

// The 24-bit little-endian value at bytes[at].
inline int32_t Le24(std::span<const uint8_t> bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16;
}

}  // namespace quibra::prvc

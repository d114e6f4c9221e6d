// The memory blocks through which the service values travel: message 9007 writes a block, 9008
// reads one, the block number being the message parameter. A block is written from scratch
// index 7 on and comes back from index 8 on.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kBlockWriteAt = 7;
inline constexpr int32_t kBlockReadAt = 8;
// The block layouts of the oldest units, which the service values use unless stated otherwise.
inline constexpr int32_t kBlockLayoutType = 11;

// A fresh record for a service transfer: every field 0 but the size and the link type.
CommParams ServiceParams(uint32_t link_type, bool show_dialog);

// Clears the block image and selects the unit type whose area table places the blocks.
void SelectBlockLayouts(int32_t type);

// Whether a transfer counts as delivered: only a completed exchange does (a silent transfer
// that ended without a link or without an answer does not).
inline bool Delivered(int32_t result) {
  return result == 1;
}

// Reads a block over infrared; its first byte is then at scratch index 8. False when the
// transfer failed.
bool ReadBlock(CommParams& params, int32_t block);

// Writes one byte into a block and reads the block back, 500 ms later, as the units that
// check such writes are asked: true when the unit then holds the byte. The block layouts must
// be selected.
bool WriteByteAndCheck(CommParams& params, int32_t block, uint8_t value);

// The pause a unit needs between a service write and the factory-default command that follows.
inline constexpr uint32_t kFactoryDefaultsPauseMs = 750;

// Sends the factory-default command after the given pause; its result.
int32_t FactoryDefaultsAfter(CommParams& params, uint32_t pause_ms);

}  // namespace quibra::settings

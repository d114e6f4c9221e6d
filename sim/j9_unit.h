// The J9 fitness unit (type 27) on the wire: the blocks of its EEPROM that its block reads and
// writes reach (its memory is larger than the older units' and laid out in blocks of its own),
// and how it takes a programme written into its staging block.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "wire_table.h"

namespace quibra::sim {

inline constexpr int32_t kJ9Type = 27;

// The J9 block of this address and length, if the unit has one.
std::optional<Block> FindJ9Block(int32_t address, int32_t count);

// The unit takes the programme written to its staging block into its programme memory (it does
// so when asked with kQuery72).
void TakeJ9Programme(std::vector<uint8_t>& memory);

}  // namespace quibra::sim

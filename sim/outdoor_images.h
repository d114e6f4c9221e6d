// What an outdoor unit (types 19..21) does with its areas beyond keeping one per message: the
// reminder read answers the reminder without its number, and the two clearing writes empty the
// season totals and the test results.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "wire_table.h"

namespace quibra::sim {

// The payload a read answers with, `length` bytes taken from the area.
std::vector<uint8_t> ReadAnswerData(Msg area, std::span<const uint8_t> stored, size_t length);

// The area a write clears (all zeros) besides filling its own, or nothing.
std::optional<Msg> AreaClearedBy(Msg write);

}  // namespace quibra::sim

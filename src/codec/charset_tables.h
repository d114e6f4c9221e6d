// The six character tables of the wrist units. Each row maps a PC character (Windows-1252) to a
// device code (0..111) and the character's width in display pixels. Row order matters: lookups
// take the first matching row in either direction.
#pragma once

#include <cstdint>
#include <span>

namespace quibra::codec {

struct CharRow {
  int32_t pc = 0;
  int32_t device = 0;
  int32_t width = 0;
};

inline constexpr int32_t kCharTableCount = 6;

// Table 0..5; an empty span for any other number.
std::span<const CharRow> CharTable(int32_t table);

}  // namespace quibra::codec

// What a simulated unit tells about itself in its identification answer (message 9021), and the
// bytes it answers with. The layout depends on the unit's group: the older units pack variant,
// battery, files and used memory into a few bytes; the newer running and cycling units add
// their state bits, a 32-bit used-memory count and where each settings area lies in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quibra::sim {

// The areas whose 16-bit addresses the newer units report, in the order they follow one another
// in the answer.
enum class Area : uint8_t {
  Bike,
  Reminders,
  Totals,
  User1,
  User2,
  Sensors,
  Watch,
  Exercise3,
  Display,
};
inline constexpr size_t kAreaCount = 9;

struct Identification {
  int32_t product_code = 0;  // 0..255
  int32_t variant = 0;       // 0..15
  int32_t files = 0;         // exercise files held; the older units count 0..99 (types 20, 21: 100)
  uint32_t used_memory = 0;  // bytes; the older units report 16 bits
  // The state bits as applications see them: bit 0 the battery is low; the newer units report
  // further bits (their group decides which).
  uint32_t state_bits = 0;
  bool horse_mode = false;  // the cycling units that know it
  // Newer units: the memory base (24 bits) and the area addresses.
  int32_t base = 0;
  std::array<uint16_t, kAreaCount> areas{};

  uint16_t& area(Area which) { return areas[static_cast<size_t>(which)]; }
};

// The answer's bytes from the product code on: the identification image from index 6 to 36.
inline constexpr size_t kIdentificationBytes = 31;
using IdentificationBytes = std::array<uint8_t, kIdentificationBytes>;

// Lays out the identification of a unit of the given monitor type.
IdentificationBytes EncodeIdentification(int32_t type, const Identification& identity);

// The product code a unit of the type reports by default (the first of its codes where a type
// has several); -1 for a type that no product code names.
int32_t DefaultProductCode(int32_t type);

// What a unit of the type reports before anyone configures it: its product code is the first
// one the type answers to, the variant the given one, nothing recorded; the newer units lay out
// their memory as the simulator's own default map.
Identification DefaultIdentification(int32_t type, int32_t product_code, int32_t variant);

}  // namespace quibra::sim

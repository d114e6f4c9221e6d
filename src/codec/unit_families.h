// The families of wrist units, by monitor-type number. A family shares a memory layout, a
// decoder and an identification answer; code that treats a family alike asks here instead of
// comparing type numbers, so that a new member is added in one row.
#pragma once

#include <cstdint>

namespace quibra::codec {

enum class UnitFamily : uint8_t {
  Older,    // the older units outside the families below (the sound-download units 6, 9, 10)
  Outdoor,  // 20, 21: the outdoor units and their packed exercise layout
  KSeries,  // 11, 12, 13, 15, 22, 23: the K-series exercise layout
  Fitness,  // 24..27, 30..32, 40: fitness units with exercise summaries and fitness tests
  GroupA,   // 33, 35, 36, 37: newer running and cycling units, identification layout A
  GroupB,   // 34, 38: newer running and cycling units, identification layout B
};

// The family of a monitor type; Older for a type the table does not name.
UnitFamily FamilyOf(int32_t type);

inline bool IsOutdoor(int32_t type) {
  return FamilyOf(type) == UnitFamily::Outdoor;
}
inline bool IsKSeries(int32_t type) {
  return FamilyOf(type) == UnitFamily::KSeries;
}
inline bool IsFitness(int32_t type) {
  return FamilyOf(type) == UnitFamily::Fitness;
}
// The newer running and cycling units (types 33..38): files instead of one exercise memory,
// identification and direct memory access only over IrDA sockets.
inline bool IsNewer(int32_t type) {
  const UnitFamily family = FamilyOf(type);
  return family == UnitFamily::GroupA || family == UnitFamily::GroupB;
}

}  // namespace quibra::codec

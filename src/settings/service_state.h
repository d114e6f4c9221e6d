// What the unit commands remember between calls: the identification of the exercise file the
// next delete command names, and the usage counters last read from an outdoor unit.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::settings {

// The start of an exercise file as a delete command names it.
struct FileIdentification {
  int32_t date = 0;     // yyyymmdd; 0 while none is known
  int32_t seconds = 0;  // time of day, s since midnight
  bool twelve_hour = false;
};

// Bytes of the counter block kept; the 13 counters are 16-bit pairs, low byte first.
inline constexpr size_t kCounterTableBytes = 42;
inline constexpr int32_t kUsageCounters = 13;

struct ServiceState {
  FileIdentification delete_target;
  std::array<uint8_t, kCounterTableBytes> counters{};
  bool counters_read = false;
};

}  // namespace quibra::settings

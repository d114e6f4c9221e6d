// The wrist-unit type codes and their display names.
#pragma once

#include <cstdint>

namespace quibra::frame {

inline constexpr int32_t kFirstNamedType = 6;
inline constexpr int32_t kLastNamedType = 40;

// The display name of a type code and variant; never null (empty when there is no name).
const char* MonitorName(int32_t type, int32_t variant);

}  // namespace quibra::frame

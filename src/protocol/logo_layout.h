// Which message carries a unit's logo and how many bytes the logo takes, by unit type. Message
// 9015 sealed with a nonzero parameter (a unit type) goes out with these.
#pragma once

#include <cstdint>

namespace quibra::protocol {

// Logo bytes of a unit type: 53, 99, 197, 199, or 52 for every type not listed.
int32_t LogoLength(int32_t type);
// The message whose code a logo of the type travels under: 9050, 9021, or 9015.
int32_t LogoMessage(int32_t type);

}  // namespace quibra::protocol

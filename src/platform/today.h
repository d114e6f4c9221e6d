// Today's date and the time of day, read from the clock in force so that tests can fix them.
#pragma once

#include <cstdint>

namespace quibra::platform {

// Today's local date as yyyymmdd.
int32_t Today();
// The local time of day in whole seconds since midnight.
int32_t NowSeconds();

}  // namespace quibra::platform

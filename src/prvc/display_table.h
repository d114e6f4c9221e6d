// The display identifiers of the running and cycling units: applications name what a display
// shows with the library's own numbers (class 1: 1..8, class 2: 101..141); each unit type keeps
// its own code for it.
#pragma once

#include <cstdint>

namespace quibra::prvc {

// The library identifier of a unit's code: rows of class 1 when class1 is nonzero, else of
// class 2. 0 when the code names none on that type (-1 on type 34, whose codes start at 0).
int32_t GetOrvekDisplayID(int32_t code, int32_t type, int32_t class1);

// The unit's code for a library identifier; 0 when the identifier is unknown, the type is not
// one of 33..38 or has no code for it.
int32_t GetMonitorDisplayID(int32_t id, int32_t type);

}  // namespace quibra::prvc

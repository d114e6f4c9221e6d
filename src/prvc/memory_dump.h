// A diagnostic dump of a newer running or cycling unit's whole memory to a text file.
#pragma once

#include <cstdint>

namespace quibra::prvc {

// Identifies the unit (with the connection dialog, owned by parent_window) and writes its
// identification and its memory as hexadecimal lines to path. 1 on success; 0 when the unit
// does not answer (the link is then closed), the file cannot be made, or a read fails.
int32_t SavePRVCFileMemory(uint32_t parent_window, const char* path);

}  // namespace quibra::prvc

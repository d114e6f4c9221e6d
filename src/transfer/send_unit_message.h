// The one road by which the settings and command calls exchange a message with a unit over
// infrared: seal, queue, and wait silently or behind the progress dialog.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::transfer {

// Silent: 1 completed, 2 connection error, 3 no answer, 0 any other end. With ShowDialog: the
// dialog's result (1 completed, 0 closed by the user, or no answer to a 9021 probe with
// parameter 1). Commands the unit does not answer otherwise: silent, after 500 ms, 2 without a
// link, then the final status as above for a command the unit acknowledges, else 1; with
// ShowDialog the no-wait dialog's result.
int32_t SendUnitMessage(CommParams& params, int32_t id, int32_t param);

// The raw memory test: reads 100 bytes at address 256, writes 1, 2, 3 there, reads again.
int32_t MemoryTestDummy();

}  // namespace quibra::transfer

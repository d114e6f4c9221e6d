// An IrDA stack that the application supplies as a table of C functions (fnQuibraExt_SetIrdaStack)
// on a system without one of its own. It is put behind the platform's IrDA socket interface, so
// the transport talks to it exactly as it talks to a system's stack.
#pragma once

#include "quibra/quibra.h"

namespace quibra::protocol {

// Installs a copy of the table in place of the system's IrDA stack; nullptr returns to the
// system's. false, with nothing changed, when a function of the table is missing.
bool InstallIrdaStack(const QuibraIrdaStack* table);

}  // namespace quibra::protocol

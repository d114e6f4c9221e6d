// The transfer dialogs' link to the communication engine, and the place where a test installs a
// scripted link in its stead.
#pragma once

#include "ui/transfer_link.h"

namespace quibra::transfer {

// The link in force: the replacement when one is installed, else the engine's own calls.
ui::TransferLink& transfer_link();
// Installs a replacement (not owned) or, with nullptr, returns to the engine.
void set_transfer_link(ui::TransferLink* replacement);

}  // namespace quibra::transfer

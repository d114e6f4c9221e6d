// The display of the transfer and exercise download dialogs for a collective status: the text,
// the Retry button and which of the four icons on the same spot are shown.
#pragma once

#include <cstdint>

#include "ui/dialog_window.h"
#include "ui/transfer_link.h"

namespace quibra::ui {

// Updates the window for a status. tick blinks the second connecting icon (shown on even ticks;
// a negative odd tick counts as even); force re-selects the progress text.
void UpdateDisplay(DialogWindow& window, int32_t status, int32_t tick, bool force);

// The end of every status tick of the transfer dialogs: the display for the status as it reads
// now, then one tick more.
void UpdateDisplayAndTick(DialogWindow& window, TransferLink& link, int32_t& tick, bool force);

// Moves the progress bar to the engine's progress when there is any.
void ShowProgress(DialogWindow& window, TransferLink& link);

}  // namespace quibra::ui

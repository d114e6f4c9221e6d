// The registry of the platform seam: the one place where the library looks up the backend of
// each platform interface. Tests and tools install a replacement (a decorator, a fake) and
// remove it again; the library never keeps a backend reference across calls.
#pragma once

#include "platform/clock.h"
#include "platform/sound_output.h"
#include "platform/temp_files.h"

namespace quibra::platform {

// The clock in force: the replacement when one is installed, else the system clock.
Clock& clock();

// Installs a replacement clock (not owned; it must outlive its use) or, with nullptr, returns
// to the system clock. Meant to be called while no library thread runs.
void set_clock(Clock* replacement);

// Sound out and temporary files, with their replacements likewise.
SoundOutput& sound_output();
void set_sound_output(SoundOutput* replacement);
TempFiles& temp_files();
void set_temp_files(TempFiles* replacement);

}  // namespace quibra::platform

// The registry of the platform seam: the one place where the library looks up the backend of
// each platform interface. Tests and tools install a replacement (a decorator, a fake) and
// remove it again; the library never keeps a backend reference across calls.
#pragma once

#include "platform/clock.h"
#include "platform/locale.h"

namespace quibra::platform {

// The clock in force: the replacement when one is installed, else the system clock.
Clock& clock();

// Installs a replacement clock (not owned; it must outlive its use) or, with nullptr, returns
// to the system clock. Meant to be called while no library thread runs.
void set_clock(Clock* replacement);

// The locale in force: the replacement when one is installed, else the user's locale.
Locale& locale();

// Installs a replacement locale (not owned; it must outlive its use) or, with nullptr, returns
// to the user's locale.
void set_locale(Locale* replacement);

}  // namespace quibra::platform

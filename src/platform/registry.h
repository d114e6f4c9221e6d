// The registry of the platform seam: the one place where the library looks up the backend of
// each platform interface. Tests and tools install a replacement (a decorator, a fake) and
// remove it again; the library never keeps a backend reference across calls.
//
// Without a replacement, the backends that hold state (byte port, IrDA sockets, wireless-link
// library, sound in and out) are the Module's own (platform/backends.h): made at load, closed
// and destroyed at unload. The others are process-wide and stateless.
#pragma once

#include "platform/byte_port.h"
#include "platform/clock.h"
#include "platform/file_dialogs.h"
#include "platform/irda_sockets.h"
#include "platform/link_library.h"
#include "platform/locale.h"
#include "platform/sound_input.h"
#include "platform/sound_output.h"
#include "platform/temp_files.h"

namespace quibra::platform {

// The clock in force: the replacement when one is installed, else the system clock.
Clock& clock();

// Installs a replacement clock (not owned; it must outlive its use) or, with nullptr, returns
// to the system clock. Meant to be called while no library thread runs.
void set_clock(Clock* replacement);

// The byte port in force: the replacement when one is installed, else the Module's own.
BytePort& byte_port();
// The Module's own byte port, whatever replacement is installed: what a decorator forwards to.
BytePort& system_byte_port();

// Installs a replacement byte port (not owned) or, with nullptr, returns to the Module's own.
// Meant to be called while no library thread runs.
void set_byte_port(BytePort* replacement);

// The IrDA stack in force, and its replacement (not owned; nullptr returns to the Module's).
IrdaSockets& irda_sockets();
void set_irda_sockets(IrdaSockets* replacement);

// The wireless-link library loader in force, and its replacement (not owned; nullptr returns
// to the Module's).
LinkLibrary& link_library();
void set_link_library(LinkLibrary* replacement);
// The locale in force: the replacement when one is installed, else the user's locale.
Locale& locale();

// Installs a replacement locale (not owned; it must outlive its use) or, with nullptr, returns
// to the user's locale.
void set_locale(Locale* replacement);
// Sound out, sound in and temporary files, with their replacements likewise.
SoundOutput& sound_output();
void set_sound_output(SoundOutput* replacement);
SoundInput& sound_input();
void set_sound_input(SoundInput* replacement);
TempFiles& temp_files();
void set_temp_files(TempFiles* replacement);

// The common file dialogs, and their replacement likewise.
FileDialogs& file_dialogs();
void set_file_dialogs(FileDialogs* replacement);

}  // namespace quibra::platform

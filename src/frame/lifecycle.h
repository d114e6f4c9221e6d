// Loading and unloading the library. The shared object runs these from its load and unload
// hooks, the DLL from DllMain; tests and tools call them directly to start from a fresh Module.
#pragma once

#include <cstdint>

namespace quibra::frame {

// Builds a fresh Module, replacing (and first destroying) any earlier one: creates the locks, the
// platform backends and the dialog observers, allocates the first exercise memory buffer, seals
// every request image, remembers the module handle and resets the communication texts.
// (Registering the dialog controls is the Windows entry point's job and comes before this.)
void LoadModule(uintptr_t instance_handle = 0);

// Stops the communication thread, releases the exercise memory buffer and destroys the Module:
// every thread it started ends, and the port, libraries and devices it opened are closed.
void UnloadModule();

// LoadModule for a library that is loaded already: its threads end with the Module they ran
// on, and the fresh Module keeps the module handle of the one it replaces.
void ReloadModule();

// For the shared object's load hook: unloads the Module when the process exits, before the
// library's own statics (the clock, the dialog hosts) are destroyed. Without it a program that
// returns from main while a conversation runs would leave the communication thread running
// over them until the unload hook, which runs after them.
void UnloadAtProcessExit();

// True between LoadModule and UnloadModule.
bool IsModuleLoaded();

}  // namespace quibra::frame

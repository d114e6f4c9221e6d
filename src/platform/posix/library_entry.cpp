// Load and unload hooks of the shared object: the library is ready as soon as it is loaded and
// releases everything when it is unloaded, as the DLL does from DllMain.
#include "frame/lifecycle.h"

namespace {

__attribute__((constructor)) void quibra_on_load() {
  quibra::frame::LoadModule(0);
  quibra::frame::UnloadAtProcessExit();
}

__attribute__((destructor)) void quibra_on_unload() {
  quibra::frame::UnloadModule();
}

}  // namespace

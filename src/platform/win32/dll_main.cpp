// The DLL entry point: process attach registers the common-control classes the progress
// dialogs use and loads the Module; process detach unloads it. Thread attach and detach do
// nothing, and the entry point always reports success.
// windows.h must come first: commctrl.h builds on its declarations.
#include <windows.h>
// (kept apart so that include sorting leaves the order alone)
#include <commctrl.h>

#include <cstdint>

#include "frame/lifecycle.h"

namespace {
// All classes of the flags 0x001..0x200.
constexpr DWORD kCommonControlClasses = 1023;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  switch (reason) {
    case DLL_PROCESS_ATTACH: {
      INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), kCommonControlClasses};
      InitCommonControlsEx(&controls);
      quibra::frame::LoadModule(reinterpret_cast<uintptr_t>(instance));
      break;
    }
    case DLL_PROCESS_DETACH:
      quibra::frame::UnloadModule();
      break;
    default:
      break;
  }
  return TRUE;
}

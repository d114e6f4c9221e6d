// The library is loaded for a command and unloaded after it, so its thread is gone before the
// program's own objects (a simulated unit, a terminal view) are destroyed.
#pragma once

#include "frame/lifecycle.h"

namespace quibra::cli {

class LoadedLibrary {
 public:
  LoadedLibrary() { frame::LoadModule(); }
  ~LoadedLibrary() { frame::UnloadModule(); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
};

}  // namespace quibra::cli

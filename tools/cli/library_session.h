// A command's time with the library. The library loads its state when the program starts; when
// the command is done, this ends the library's threads and leaves it in a fresh state, before
// the program's own objects that those threads may call (a simulated unit, a stand-in IrDA
// stack, a terminal view) are destroyed.
#pragma once

#include "quibra/quibra.h"
#include "stop_control.h"

namespace quibra::cli {

class LibrarySession {
 public:
  LibrarySession() = default;
  ~LibrarySession() {
    const auto hold = HoldLibraryCalls();  // no Cancel pressed into a library being reset
    fnQuibraExt_ResetLibrary();
  }
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;
};

}  // namespace quibra::cli

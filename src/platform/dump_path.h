// Where the library writes (and reads back) its memory text dump. On Windows it is the file the
// applications of these units know, "C:\OrvekMem.txt"; on Linux, which has no drive C, it is
// OrvekMem.txt in the system's temporary directory (TMPDIR, else /tmp).
#pragma once

#include <string>

namespace quibra::platform {

std::string MemoryDumpPath();

}  // namespace quibra::platform

// Creating the library's output files: always a new file (an existing one is replaced); when the
// creation fails, the existing file is made writable and the creation tried once more.
#pragma once

#include <fstream>
#include <string>

namespace quibra::exercise {

// Opens path for writing as a new binary file; false when it cannot be created. Line ends are
// written by the callers themselves (CR LF), so files are byte-identical on every system.
bool CreateNewFile(const std::string& path, std::ofstream& out);

}  // namespace quibra::exercise

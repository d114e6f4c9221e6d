// Writing the library's output files: always a new file (an existing one is replaced), written
// from one buffer at once. When the creation fails, the existing file is made writable and the
// creation tried once more; a file whose write fails is removed, so no half-written file stays.
#pragma once

#include <cstddef>
#include <string>

namespace quibra::exercise {

enum class FileWrite { kWritten, kNotCreated, kFailed };

// Writes size bytes as the new file at path. Line ends are written by the callers themselves
// (CR LF), so files are byte-identical on every system.
FileWrite WriteNewFile(const std::string& path, const void* bytes, size_t size);

}  // namespace quibra::exercise

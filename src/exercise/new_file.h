// Writing the library's output files: always a new file (an existing one is replaced), written
// from one buffer at once. When the creation fails, the existing file is made writable and the
// creation tried once more; a file whose write fails is removed, so no half-written file stays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quibra::exercise {

// The error code of a file that cannot be opened or created, for reading or writing.
inline constexpr int32_t kFileNotOpened = 2;

enum class FileWrite { kWritten, kNotCreated, kFailed };

// Writes size bytes as the new file at path. Line ends are written by the callers themselves
// (CR LF), so files are byte-identical on every system.
FileWrite WriteNewFile(const std::string& path, const void* bytes, size_t size);

// The same, answered as the saving exports answer: 1 when written; 0 with error code 2 when the
// file cannot be created; 0 (the code unchanged) when the write failed.
int32_t SaveNewFile(const std::string& path, const void* bytes, size_t size);

}  // namespace quibra::exercise

// A debug dump file of the sound reception: created in the current directory when the caller
// asks for dumps, appended to as data passes, closed at the end. Failures are ignored: a dump
// that cannot be written must never disturb the reception.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace quibra::sound {

class DumpFile {
 public:
  DumpFile() = default;
  DumpFile(const DumpFile&) = delete;
  DumpFile& operator=(const DumpFile&) = delete;
  ~DumpFile() { close(); }

  void create(const char* name) {
    close();
    file_ = std::fopen(name, "wb");
  }
  void close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
  }
  bool is_open() const { return file_ != nullptr; }
  void write(const void* data, size_t bytes) {
    if (file_ && bytes > 0) std::fwrite(data, 1, bytes, file_);
  }
  // Little-endian 32-bit values.
  void write_u32(const uint32_t* values, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const uint8_t b[4] = {static_cast<uint8_t>(values[i]), static_cast<uint8_t>(values[i] >> 8),
                            static_cast<uint8_t>(values[i] >> 16),
                            static_cast<uint8_t>(values[i] >> 24)};
      write(b, 4);
    }
  }

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace quibra::sound

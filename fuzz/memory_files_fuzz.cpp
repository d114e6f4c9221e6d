// Feeds arbitrary files to the readers of the exercise memory on disk: the memory text dump
// (fnQuibra_ReadBinaryMemoryFile, in both of its modes) and the binary exercise file
// (fnQuibra_LoadExerciseBinFile). Byte 0 picks the reader (0, 1: the dump in mode 0 or 1; 2: the
// binary file); the rest is the file, which lives in memory. The readers must keep to the
// image's limits whatever counts and numbers the file holds.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/lifecycle.h"
#include "fuzz/memory_file.h"
#include "quibra/quibra.h"

namespace {

quibra::fuzz::MemoryFile* g_file = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  g_file = new quibra::fuzz::MemoryFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || !g_file->fill(data + 1, size - 1)) return 0;
  const int32_t reader = data[0] % 3;
  if (reader == 2) {
    CommParams params{};
    params.Size = sizeof params;
    std::strncpy(params.FilePath, g_file->path().c_str(), sizeof params.FilePath - 1);
    fnQuibra_LoadExerciseBinFile(&params);
  } else {
    fnQuibra_ReadBinaryMemoryFile(g_file->path().c_str(), reader);
  }
  // Read the image back at its ends, as an application looking at it would.
  const int32_t count = fnKx2GetNbrOfMemtrBytes();
  fnKx2GetMemtrData(count);
  fnKx2GetMemtrData(count + 1);
  return 0;
}

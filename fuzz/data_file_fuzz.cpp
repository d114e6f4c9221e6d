// Feeds arbitrary data files to the reader of the data file that stands in for a unit: the
// section search, the identification of what a file holds (fnGetIDFromDataFile), and every
// settings send that unpacks what the file gave (input format in data_file_readers.h). The file
// lives in memory. Whatever the file holds, nothing may be read or written outside the images
// and the caller's records.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "fuzz/data_file_readers.h"
#include "fuzz/memory_file.h"
#include "fuzz/still_clock.h"
#include "fuzz/unit_types.h"
#include "platform/registry.h"

namespace {

quibra::fuzz::StillClock g_clock;
quibra::fuzz::MemoryFile* g_file = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  quibra::platform::set_clock(&g_clock);
  g_file = new quibra::fuzz::MemoryFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHead = 3;
  if (size < kHead || !g_file->fill(data + kHead, size - kHead)) return 0;
  const auto& reader =
      quibra::fuzz::kDataFileReaders[data[0] % quibra::fuzz::kDataFileReaders.size()];
  const int32_t type = quibra::fuzz::UnitTypeOf(data[1]);
  quibra::module().unit.type = type;
  CommParams params{};
  params.Size = sizeof params;
  params.LinkType = 0;
  params.MonitorType = type;
  params.ReadFromDataFile = 1;
  params.SkipSoundUpload = 1;
  std::strncpy(params.FilePath, g_file->path().c_str(), sizeof params.FilePath - 1);
  reader.run(params, type, data[2]);
  return 0;
}

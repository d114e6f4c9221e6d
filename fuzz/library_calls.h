// What the fuzz targets that call the library's exports share: the named call a byte of the
// input picks, and the records an application hands in (sized, all else zero).
#pragma once

#include <cstdint>

#include "quibra/quibra.h"

namespace quibra::fuzz {

template <typename Record>
Record SizedRecord() {
  Record r{};
  r.Size = sizeof(Record);
  return r;
}

// `type` is the unit type the input picks, `arg` the argument byte it gives the call.
struct LibraryCall {
  const char* name;
  int32_t (*run)(CommParams& params, int32_t type, uint8_t arg);
};

}  // namespace quibra::fuzz

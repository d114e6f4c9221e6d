// Records as callers hand them over. Each begins with its size in bytes, and an application built
// against an older, shorter layout of a record passes that shorter size: the library then reads
// and writes only those bytes of it and works on a full record whose other fields are the
// record's defaults. Every export that takes a record passes it through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "quibra/records.h"

namespace quibra::frame {

// How many bytes of a record of layout_size bytes the caller's size field lets the library touch:
// the whole layout for 0 (a record left for the library to fill in) or for a size of at least the
// layout, else the size itself. Nothing, with error code kErrorBadArgument, for a negative size or
// one too small to hold the size field.
std::optional<size_t> CallerRecordBytes(int32_t size, size_t layout_size);

// Runs operation (Record& -> int32_t) on the caller's record and returns its result; 0 for a null
// record or a size that cannot describe one. A shorter record is copied into a full one that
// defaults (Record&) has filled first, and only its own bytes are written back, its size field
// unchanged.
template <typename Record, typename Defaults, typename Operation>
int32_t WithSizedRecord(Record* caller, Defaults&& defaults, Operation&& operation) {
  if (caller == nullptr) return 0;
  int32_t size = 0;
  std::memcpy(&size, caller, sizeof size);
  const std::optional<size_t> bytes = CallerRecordBytes(size, sizeof(Record));
  if (!bytes) return 0;
  if (*bytes >= sizeof(Record)) return operation(*caller);
  Record full{};
  defaults(full);
  std::memcpy(&full, caller, *bytes);
  const int32_t result = operation(full);
  std::memcpy(&full, &size, sizeof size);
  std::memcpy(caller, &full, *bytes);
  return result;
}

// CommParams as a caller hands it over. The transfer calls repair a record rather than refuse
// it, so no Size is refused here: 0, the layout's size or more (an uninitialised one included)
// stand for the whole record; a smaller Size bounds what is read and written, the missing fields
// being zero; 1..3 cover the size field alone. The output-only records (MonitorInfo,
// ExeFileInfo) are not bounded at all: the library clears the whole record and sets its Size,
// so a caller need not fill anything in.
template <typename Operation>
int32_t WithCommParams(CommParams* caller, Operation&& operation) {
  if (caller == nullptr) return 0;
  uint32_t size = 0;
  std::memcpy(&size, caller, sizeof size);
  if (size == 0 || size >= sizeof(CommParams)) return operation(*caller);
  const size_t bytes = std::max<size_t>(size, sizeof size);
  CommParams full{};
  std::memcpy(&full, caller, bytes);
  const int32_t result = operation(full);
  std::memcpy(&full, &size, sizeof size);
  std::memcpy(caller, &full, bytes);
  return result;
}

}  // namespace quibra::frame

// The settings records as callers hand them over. Each begins with its size in bytes, and an
// application built against an older, shorter layout of a record passes that shorter size: the
// library then reads and writes only those bytes of it, and works on a full record whose other
// fields are the record's defaults. Every settings export passes its record through here.
#pragma once

#include <cstdint>
#include <utility>

#include "frame/caller_record.h"
#include "quibra/records.h"

namespace quibra::settings {

// The defaults a shorter record's missing fields take: the record's Reset values (profile and
// exercise set number 1, the layout of the older units).
void RecordDefaults(UserSettings& record);
void RecordDefaults(WatchSettings& record);
void RecordDefaults(ExerciseProfile& record);
void RecordDefaults(ExerciseLimits& record);
void RecordDefaults(ExerciseSet& record);
void RecordDefaults(BikeSettings& record);

// Runs operation (Record& -> int32_t) on the caller's record, bounded by its Size, the missing
// fields of a shorter record taken from the defaults above (frame/caller_record.h).
template <typename Record, typename Operation>
int32_t WithCallerRecord(Record* caller, Operation&& operation) {
  return frame::WithSizedRecord(
      caller, [](Record& full) { RecordDefaults(full); }, std::forward<Operation>(operation));
}

}  // namespace quibra::settings

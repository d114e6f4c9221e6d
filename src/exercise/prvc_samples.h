// The sample records of the running and cycling units' exercise files (the kind-0 data of the
// paged area) and their R-R data (kind 2).
//
// A sample record holds, in this order, each field only when the exercise recorded it:
//   heart rate      1 byte (units that record R-R intervals keep none here)
//   altitude        16-bit feet, signed
//   speed           1 byte in 1/2 km/h, or at 15 s and 60 s (and always in the files of types
//                   34 and 38) a 16-bit average in 1/16 km/h; then, where the unit writes it,
//                   a 16-bit distance for the record in 1/10 m
//   cadence         1 byte, rpm
//   extra values    8 bytes (below)
//   power           16-bit W, then the two pedalling bytes
// A record of all 255 bytes switches the recording to a coarser interval: 1 s goes to 5 s,
// 15 s and 60 s, 5 s goes to 15 s and 60 s, 15 s goes to 60 s, and 2 s (types 34 and 38) goes
// to 60 s at once, the only coarser interval that holds a whole number of its samples. The store
// keeps the first interval, so a record after a switch stands for as many samples as the new
// interval holds of the first.
//
// The 16-bit distance of a record has no channel in the exercise record (the distance reaches
// the application in the summary and in the laps), so it is read past.
//
// R-R data: 16-bit intervals in ms, low byte first; 0 and 65535 are gaps the unit left, not
// intervals.
#pragma once

#include <cstdint>
#include <vector>

#include "exercise/prvc_paged_data.h"
#include "exercise/record_store.h"

namespace quibra::exercise {

struct SampleFormat {
  bool heart_rate = false;
  bool altitude = false;
  bool speed = false;
  bool wide_speed = false;      // the speed is 16-bit at every interval
  bool speed_distance = false;  // the 16-bit distance follows the speed
  bool cadence = false;         // the record holds a cadence byte
  bool cadence_shown = false;   // ... and it goes to channel 3
  bool extra = false;           // the 8 bytes of extra values (channels 10..12)
  bool power = false;
  // Record size at an interval; the speed field is 16-bit at 15 s and 60 s.
  int32_t size(int32_t interval) const;
};

struct SampleRun {
  int32_t interval = 1;         // the first recording interval, s
  int32_t duration_ms = 0;      // the exercise's length: samples past it are not stored
  bool heart_rate_used = true;  // the record's heart-rate byte counts (else 0 is stored)
  bool extended = false;        // the exercise keeps extended samples (flag 3)
  // Without a heart-rate byte the heart rate of each record is taken from these intervals
  // (null: none).
  const std::vector<uint8_t>* rr = nullptr;
};

// The interval a coarser-interval marker switches to from `current`.
int32_t NextCoarserInterval(int32_t current);

// Stores the samples the records describe; returns the number stored.
int32_t DecodeSamples(const std::vector<uint8_t>& data, const SampleFormat& format,
                      const SampleRun& run, ExerciseStore& store);

// Stores each R-R interval as one sample (channel 1, ms); returns the number stored.
int32_t DecodeRrIntervals(const std::vector<uint8_t>& data, ExerciseStore& store);

// The sensors an exercise shows (an R-R recording shows none, whatever its records hold).
struct ShownSensors {
  bool speed = false, altitude = false, power = false, extra = false, any = false;
};
// The recording interval (parameter 12) and the flags of the sensors shown, but cadence: the
// layouts decide that one from their summaries.
void StoreShownSensors(const ShownSensors& shown, int32_t interval, ExerciseStore& store);

// How an exercise file's data pages are read, beyond the record format.
struct FileRecording {
  int32_t interval = 1;  // of the first records
  bool rr_capable = false;
  bool summary = false;  // flag 21: without it the heart rates and R-R data do not count
  bool rr_recording = false;
  bool extended = false;  // flag 3
};
// Stores the samples of the data pages (the R-R intervals alone for an R-R recording), then
// closes the exercise: the lap flag and the laps in time order.
void StoreFileData(const PagedData& pages, const SampleFormat& format, const FileRecording& r,
                   ExerciseStore& store);

}  // namespace quibra::exercise

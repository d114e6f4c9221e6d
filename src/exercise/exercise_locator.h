// Finding one exercise in a downloaded exercise memory: the chain of length-prefixed exercises,
// and within an exercise its header, its laps and its samples. Positions are those of the
// exercise memory buffer, numbered from 1; every region returned lies within the bytes received.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/exercise_memory.h"

namespace quibra::exercise {

// Byte reads that can never leave the buffer: positions outside 1..count read 0.
class MemoryReader {
 public:
  // Reads the counted bytes as they are now: a decoder sees one memory from start to end,
  // and reads it without taking the buffer's lock for every byte.
  explicit MemoryReader(const protocol::ExerciseMemory& memory)
      : snapshot_(memory.counted_bytes()), bytes_(snapshot_->data()), size_(snapshot_->size()) {}
  int32_t byte(int32_t position) const {
    return position < 1 || static_cast<size_t>(position) > size_
               ? 0
               : static_cast<int32_t>(bytes_[static_cast<size_t>(position - 1)]);
  }
  // Little-endian 16-bit value at position, position + 1.
  int32_t u16(int32_t position) const { return byte(position) | (byte(position + 1) << 8); }
  int32_t count() const { return static_cast<int32_t>(size_); }

 private:
  protocol::ExerciseMemory::Snapshot snapshot_;
  const uint8_t* bytes_;
  size_t size_;
};

// How the exercise memory buffer was filled.
enum class ImageMode : int32_t {
  kSingleExercise = 0,  // what the unit sent for one exercise
  kWholeMemory = 1,     // a complete memory dump with model code, version and note in front
};

struct ExerciseRegions {
  int32_t start = 0;         // E: the first byte of the exercise head
  int32_t length = 0;        // the exercise length in bytes
  int32_t header_size = 0;   // H
  int32_t lap_start = 0;     // the first byte of lap 0
  int32_t lap_count = 0;     // laps that fit between the header and the sample end
  int32_t lap_size = 0;      // S
  int32_t sample_start = 0;  // P: samples lie above it (exclusive)
  int32_t sample_end = 0;    // Q: the first sample is read backwards from here
  bool extended_laps = false;
  int32_t unit_version = 0;
};

// The K-series units with a sensor byte (12, 22, 23) and what the byte says was recorded: the
// high nibble is the speed sensor code, the low nibble bit 1 altitude, bit 2 cadence, bit 3
// power. Type 22 from unit version 3 on ignores cadence and power with speed sensor code 1.
struct SensorChannels {
  int32_t speed_code = 0;
  bool speed = false;
  bool altitude = false;
  bool cadence = false;
  bool power = false;
};
bool HasSensorByte(int32_t monitor_type);
SensorChannels ReadSensorChannels(int32_t sensor, int32_t monitor_type, int32_t unit_version);

// The unit's software version: byte 3 of a whole-memory image, byte 4 of a single exercise.
int32_t UnitVersion(const MemoryReader& memory, ImageMode mode);

// Locates exercise `index` of the given monitor type (20, 21 outdoor; 11, 12, 13, 15, 22, 23
// K-series). Empty when the type is not one of these, the chain holds fewer exercises, a length
// is 0 or points past the received bytes, or the header does not fit.
std::optional<ExerciseRegions> LocateExercise(const MemoryReader& memory, int32_t monitor_type,
                                              int32_t index, ImageMode mode);

}  // namespace quibra::exercise

// The exercise memory buffer: a heap buffer that receives a whole downloaded exercise memory.
// It starts at 100 zero bytes, grows in steps of 100 and never exceeds 262144 bytes; positions
// are 1-based. The valid-byte count is set by the downloader, independently of the highest
// position stored.
//
// An application may poll the accessors (fnKx2GetMemtrData, fnKx2GetNbrOfMemtrBytes) while the
// message thread downloads into the buffer and grows it: every call takes the buffer's own lock
// (order 6 in frame/locks.h, innermost, held for one byte or one growth step), so a reader never
// sees storage the writer has freed.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace quibra::protocol {

inline constexpr int32_t kExerciseMemoryStep = 100;
inline constexpr int32_t kExerciseMemoryLimit = 262144;

class ExerciseMemory {
 public:
  // Drops any old buffer and starts a new one of 100 zero bytes with count 0.
  void allocate();
  // Releases the buffer; reads give 0 until the next allocate.
  void release();
  // Stores a byte at a 1-based position. Downloaders store ascending positions one at a time:
  // when the position comes within 5 bytes of the capacity the buffer grows by one step first.
  // False when the position is outside 1..262144, beyond the buffer, or the growth failed.
  bool store(int32_t position, uint8_t value);
  // Sets the valid-byte count; false unless 0 <= n <= 262144 and n <= capacity.
  bool set_count(int32_t n);

  int32_t count() const;
  int32_t capacity() const;
  // The byte at 1 <= position <= count, else 0.
  uint8_t at(int32_t position) const;
  // The counted bytes (positions 1..count that the buffer holds) as one unchanging copy, for a
  // decoder that reads them many times over. The copy is made once and shared by every reader
  // until the buffer changes: decoding the exercises of one memory one after another copies it
  // once, not once per exercise.
  using Snapshot = std::shared_ptr<const std::vector<uint8_t>>;
  Snapshot counted_bytes() const;

 private:
  int32_t capacity_locked() const { return static_cast<int32_t>(bytes_.size()); }
  // Forgets the shared copy; it is freed by its last reader, or by the caller once the lock is
  // released.
  Snapshot outdated_locked() { return std::move(snapshot_); }

  mutable std::mutex lock_;
  std::vector<uint8_t> bytes_;  // size() is the capacity
  int32_t count_ = 0;
  mutable Snapshot snapshot_;  // the counted bytes as they are now, once a reader asked
};

}  // namespace quibra::protocol

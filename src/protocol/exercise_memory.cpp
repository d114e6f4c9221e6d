#include "protocol/exercise_memory.h"

#include <algorithm>
#include <new>

namespace quibra::protocol {

void ExerciseMemory::allocate() {
  // The new buffer is made before the lock is taken; the old one is freed after it is released.
  std::vector<uint8_t> fresh(kExerciseMemoryStep, 0);
  Snapshot old;
  {
    std::lock_guard guard(lock_);
    bytes_.swap(fresh);
    count_ = 0;
    old = outdated_locked();
  }
}

void ExerciseMemory::release() {
  std::vector<uint8_t> old;
  Snapshot old_snapshot;
  {
    std::lock_guard guard(lock_);
    bytes_.swap(old);
    count_ = 0;
    old_snapshot = outdated_locked();
  }
}

bool ExerciseMemory::store(int32_t position, uint8_t value) {
  Snapshot old;  // declared before the guard: freed after the lock is released
  std::lock_guard guard(lock_);
  if (position < 1 || position > kExerciseMemoryLimit || bytes_.empty()) return false;
  old = outdated_locked();
  if (position >= capacity_locked() - 5 && capacity_locked() < kExerciseMemoryLimit) {
    // The last step is cut at the limit so that positions up to 262144 stay storable.
    const int32_t grown = std::min(capacity_locked() + kExerciseMemoryStep, kExerciseMemoryLimit);
    try {
      bytes_.resize(static_cast<size_t>(grown), 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  if (position > capacity_locked()) return false;
  bytes_[static_cast<size_t>(position - 1)] = value;
  return true;
}

bool ExerciseMemory::set_count(int32_t n) {
  Snapshot old;
  std::lock_guard guard(lock_);
  if (n < 0 || n > kExerciseMemoryLimit || n > capacity_locked()) return false;
  if (n != count_) old = outdated_locked();
  count_ = n;
  return true;
}

int32_t ExerciseMemory::count() const {
  std::lock_guard guard(lock_);
  return count_;
}

int32_t ExerciseMemory::capacity() const {
  std::lock_guard guard(lock_);
  return capacity_locked();
}

uint8_t ExerciseMemory::at(int32_t position) const {
  std::lock_guard guard(lock_);
  if (position < 1 || position > count_ || position > capacity_locked()) return 0;
  return bytes_[static_cast<size_t>(position - 1)];
}

ExerciseMemory::Snapshot ExerciseMemory::counted_bytes() const {
  std::lock_guard guard(lock_);
  if (!snapshot_) {
    const auto n = static_cast<std::ptrdiff_t>(std::clamp(count_, 0, capacity_locked()));
    snapshot_ = std::make_shared<const std::vector<uint8_t>>(bytes_.begin(), bytes_.begin() + n);
  }
  return snapshot_;
}

}  // namespace quibra::protocol

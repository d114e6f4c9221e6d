#include "protocol/exercise_memory.h"

#include <algorithm>
#include <new>

namespace quibra::protocol {

void ExerciseMemory::allocate() {
  std::vector<uint8_t> fresh(kExerciseMemoryStep, 0);
  bytes_.swap(fresh);
  count_ = 0;
}

void ExerciseMemory::release() {
  std::vector<uint8_t>().swap(bytes_);
  count_ = 0;
}

bool ExerciseMemory::store(int32_t position, uint8_t value) {
  if (position < 1 || position > kExerciseMemoryLimit || bytes_.empty()) return false;
  if (position >= capacity() - 5 && capacity() < kExerciseMemoryLimit) {
    // The last step is cut at the limit so that positions up to 262144 stay storable.
    const int32_t grown = std::min(capacity() + kExerciseMemoryStep, kExerciseMemoryLimit);
    try {
      bytes_.resize(static_cast<size_t>(grown), 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  if (position > capacity()) return false;
  bytes_[static_cast<size_t>(position - 1)] = value;
  return true;
}

bool ExerciseMemory::set_count(int32_t n) {
  if (n < 0 || n > kExerciseMemoryLimit || n > capacity()) return false;
  count_ = n;
  return true;
}

uint8_t ExerciseMemory::at(int32_t position) const {
  if (position < 1 || position > count_ || position > capacity()) return 0;
  return bytes_[static_cast<size_t>(position - 1)];
}

}  // namespace quibra::protocol

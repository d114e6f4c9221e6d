// One status word per message 9001..9108 plus the collective status 9500 of a batch; written by
// the communication thread and polled by the application's thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace quibra::protocol {

class MessageStatuses {
 public:
  // Stores the status of 9001..9108 or 9500; other ids are ignored.
  void set(int32_t id, int32_t value);
  // The status (0 for other ids); with clear set, it is zeroed as it is read.
  int32_t get(int32_t id, bool clear);
  // Every status, 9500 included, to 0.
  void clear_all();

 private:
  std::atomic<int32_t>* slot(int32_t id);

  std::array<std::atomic<int32_t>, 109> values_{};  // 108 messages, then the collective status
};

}  // namespace quibra::protocol

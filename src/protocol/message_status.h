// One status word per message 9001..9108 plus the collective status 9500 of a batch; written by
// the communication thread and polled by the application's thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace quibra::protocol {

// Message statuses. The collective status (9500) of a transfer moves through 0, 40, 50 and 60
// while it runs and ends at 10, 20 or 30; a message's own status uses the same numbers, with 20
// for an answer that failed its checksum and 70 for a file packet stored.
inline constexpr int32_t kStatusWaiting = 0;
inline constexpr int32_t kStatusCompleted = 10;
inline constexpr int32_t kStatusNoLink = 20;  // collective: engine not running
inline constexpr int32_t kStatusChecksumFailed = 20;
inline constexpr int32_t kStatusNoAnswer = 30;
inline constexpr int32_t kStatusBatchReading = 40;
inline constexpr int32_t kStatusSending = 40;
inline constexpr int32_t kStatusArriving = 50;
inline constexpr int32_t kStatusBatchStarted = 60;
inline constexpr int32_t kStatusFilePacket = 70;

// A collective status that ends a transfer: completed, no link or no answer.
constexpr bool IsFinalStatus(int32_t status) {
  return status == kStatusCompleted || status == kStatusNoLink || status == kStatusNoAnswer;
}

// A final status as the silent calls return it: 1 completed, 2 no link, 3 no answer, else 0.
constexpr int32_t SilentResult(int32_t status) {
  switch (status) {
    case kStatusCompleted:
      return 1;
    case kStatusNoLink:
      return 2;
    case kStatusNoAnswer:
      return 3;
    default:
      return 0;
  }
}

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

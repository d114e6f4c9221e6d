// The state of the one transfer under way: the message, its parameter, the texts the progress
// dialogs show, and the selection of the exercise download. It outlives each call and is
// overwritten by the next one.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::protocol {

inline constexpr size_t kSharedTextBytes = 112;
inline constexpr size_t kDefaultTextBytes = 100;

// Set by the exercise download calls before their dialog runs.
struct ExerciseDownloadSelection {
  int32_t mode = 0;         // nonzero: listen for the unit's own transfer (9025)
  int32_t single_file = 0;  // nonzero: fetch one file (9106)
  int32_t file_index = 0;   // 16 bits used
  int32_t byte_limit = 0;   // its low byte is sent
};

struct TransferState {
  int32_t message = 0;
  int32_t param = 0;
  int32_t end_on_no_answer = 0;  // only 9021 with parameter 1: a probe gives up on no answer
  std::array<char, kSharedTextBytes> shared_text{};
  std::array<char, kDefaultTextBytes> default_text{};
  int32_t transfer_ticks = 0;  // timer ticks since the transfer (re)started; parity blinks icons
  int32_t download_ticks = 0;
  ExerciseDownloadSelection download;
};

}  // namespace quibra::protocol

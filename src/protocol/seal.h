// Sealing a message image: computing its CRC-16 and storing it in the image's last two bytes.
#pragma once

#include "protocol/message_ids.h"

#include <cstdint>

namespace quibra::protocol {

// The message id that reseals every request image the engine may send unprepared.
inline constexpr int32_t kResealAll = -1;
inline constexpr int32_t kResealAllBatch = 8000;

// Seals one message with its parameter, or with id -1 or 8000 every request image in turn
// (mode 0 or 1 picks 9004 or 9069 for the exercise-set requests; types 22 and 23 always use
// mode 1). Returns 1 on success; for the reseal-all form the AND of all results.
int32_t SealMessageImage(int32_t id, int32_t param, int32_t mode);

// Seals a message about to be queued: mode 0, except the newer exercise-set write (9068), which
// is sealed with mode 1.
inline int32_t SealForSending(int32_t id, int32_t param) {
  return SealMessageImage(id, param, id == msg::kExerciseSetWriteLong ? 1 : 0);
}

}  // namespace quibra::protocol

// The one way every settings group of the older units moves: Prepare checks a caller's record
// and packs it into the write message's image, Send prepares and delivers it (over infrared, by
// sound, or through the data file), Read fetches the read message's image and UnPack turns it
// back into a record. Each group describes its own messages and steps; the order of the steps,
// the link defaults and what counts as a delivered message live here once.
#pragma once

#include <cstdint>
#include <functional>

#include "quibra/records.h"

namespace quibra::settings {

// The road a Send took.
enum class Delivery : uint8_t { Infrared, SoundOrDataFile };

struct SendSteps {
  int32_t write_message = 0;
  // false for groups that only go by sound or data file: over infrared a Send then succeeds
  // without a transfer.
  bool over_infrared = true;
  // Checks, completes, packs and seals the caller's record; false when a check fails.
  std::function<bool()> prepare;
  // The message parameter, asked once Prepare has completed the record.
  std::function<int32_t()> param;
  // Fills the caller's record from the image the data file gave; its result is the Send's.
  std::function<int32_t()> unpack_loaded;
  // Optional: delivers over infrared in place of exchanging the write message (a group that
  // goes to the unit in blocks of its own); its result is the delivery's.
  std::function<int32_t()> infrared;
  // Optional: runs after a successful delivery (not in the read-from-file mode); its result is
  // the Send's.
  std::function<int32_t(Delivery)> after_delivery;
};

// Send: repairs the parameters (sound is the default link), prepares unless the data file is
// to be read, then delivers over infrared when LinkType is 1, else by sound or data file.
int32_t SendSettings(CommParams& params, const SendSteps& steps);

// Read: error code -1, parameters repaired (infrared is the default link), the read message
// exchanged with the unit, then unpack. 0 when the exchange fails; the record is then untouched.
int32_t ReadSettings(CommParams& params, int32_t read_message, int32_t param,
                     const std::function<void()>& unpack);

// Whether a result of SendUnitMessage means the unit answered. A silent exchange that ends in a
// connection error (2) or without an answer (3) counts as failed: only completion does.
constexpr bool Delivered(int32_t send_result) {
  return send_result == 1;
}

}  // namespace quibra::settings

#include "protocol/seal.h"

#include <array>

#include "frame/module.h"
#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/logo_layout.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/raw_memory.h"

namespace quibra::protocol {
namespace {

constexpr size_t kSealBuffer = 300;

// The request images sealed by the reseal-all form, in order. A zero id marks the place of
// the exercise-set requests, whose message depends on the mode.
struct SealStep {
  int32_t id;
  int32_t first_param;
  int32_t last_param;
};

constexpr SealStep kResealOrder[] = {
    {9021, 0, 0}, {9002, 0, 0}, {0, 1, 5},    {9006, 0, 0}, {9014, 0, 6},
    {9018, 1, 7}, {9011, 0, 0}, {9022, 0, 0}, {9023, 0, 0}, {9024, 0, 0},
    {9025, 0, 0}, {9012, 0, 0}, {9020, 0, 0}, {9016, 0, 0}, {9008, 0, 0},
};

// The exercise-set request of a mode: the older layout (9004), the newer one (9069), or none.
int32_t exercise_set_request(int32_t mode) {
  if (mode == 0) return msg::kExerciseSetRead;
  if (mode == 1) return msg::kExerciseSetReadLong;
  return 0;
}

// A block write with a leading byte to the variable area is sealed over the length it goes out
// with (the count + 10, one more than a plain block write), like every other area: sealed two
// bytes longer, its checksum would lie beyond the bytes sent on a serial line and the unit
// would refuse every block.
int32_t seal_length(int32_t id, int32_t param) {
  if (id == msg::kLogoWrite && param != 0) return LogoLength(param) + 2;
  const bool by_param = id == msg::kBlockWrite || id == msg::kBlockRead ||
                        id == msg::kBlockWriteLead || id == msg::kOlderPrvcWatchSettings;
  return GetMessageLength(id, by_param ? param : 1, kFieldLength);
}

int32_t seal_one(int32_t id, int32_t param) {
  if (id == msg::kMemoryWrite || id == msg::kMemoryRead)
    return 1;  // raw memory commands carry no checksum
  const int32_t length = seal_length(id, param);
  if (length < 3) return 1;  // too short to carry a checksum: nothing to store
  const auto span =
      static_cast<size_t>(length < 0 ? 0 : (length > int32_t{kSealBuffer} ? kSealBuffer : length));
  std::array<uint8_t, kSealBuffer> buffer{};
  for (size_t i = 0; i + 2 < span; ++i)
    buffer[i] = GetMessageByte(id, param, static_cast<int32_t>(i));
  if (id == msg::kLogoWrite && param != 0) {
    // A logo travels under the logo message of its unit type, with the logo length.
    buffer[1] = static_cast<uint8_t>(MessageCode(LogoMessage(param)));
    buffer[4] = static_cast<uint8_t>(LogoLength(param));
  }
  const uint16_t crc = Crc16Compute(buffer.data(), span);
  SetMessageByte(id, param, length - 2, static_cast<uint8_t>(crc >> 8));
  SetMessageByte(id, param, length - 1, static_cast<uint8_t>(crc & 0xFF));
  return 1;
}

}  // namespace

int32_t SealMessageImage(int32_t id, int32_t param, int32_t mode) {
  if (id != kResealAll && id != kResealAllBatch) return seal_one(id, param);
  const int32_t type = module().unit.type.load();
  if (type == 22 || type == 23) mode = 1;
  int32_t result = 1;
  for (const SealStep& step : kResealOrder) {
    const int32_t message = step.id != 0 ? step.id : exercise_set_request(mode);
    if (message == 0) continue;
    for (int32_t p = step.first_param; p <= step.last_param; ++p)
      result &= seal_one(message, p);
  }
  return result;
}

}  // namespace quibra::protocol

// The input format of the unit-answers fuzz target, shared with its seed writer. Byte 0 picks
// the road (bits 0..1) and, for the identification, the IrDA short form (bit 4); byte 1 and
// byte 2 are the road's message and parameter; the rest are the unit's answers (pieces.h):
// - road 0: identification answers, the first stored and unpacked into the unit information,
//   the next one the answer to the library's second question when the first named no unit;
// - road 1: IrDA short-form answers to message 9001 + byte 1 % 108 with parameter byte 2, taken
//   by the engine's receive step (a file request takes one answer per packet);
// - road 2: the serial packets of a file download (9011, 9025 or 9106 by byte 1 % 3; byte 2 is
//   the file index of a 9106 download), each checked, stored and acknowledged as the engine does;
// - road 3: the names the IrDA stack reports for the devices in range (byte 1 bit 0: the mode
//   of the device query).
#pragma once

#include <array>
#include <cstdint>

#include "protocol/message_ids.h"

namespace quibra::fuzz {

enum AnswerRoad : uint8_t {
  kIdentifyRoad = 0,
  kIrdaAnswerRoad = 1,
  kPacketRoad = 2,
  kDeviceNameRoad = 3
};
inline constexpr uint8_t kIrdaIdentify = 0x10;

inline constexpr std::array<int32_t, 3> kFileMessages = {
    protocol::msg::kExerciseMemory, protocol::msg::kListen, protocol::msg::kSingleFile};

inline int32_t AnsweredMessage(uint8_t selector) {
  return protocol::msg::kFirst + selector % (protocol::msg::kLast - protocol::msg::kFirst + 1);
}

}  // namespace quibra::fuzz

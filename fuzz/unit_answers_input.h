// The input format of the unit-answers fuzz target, shared with its seed writer. Byte 0 picks
// the road (bits 0..1) and, for the identification, the IrDA short form (bit 4); byte 1 and
// byte 2 are the road's message and parameter; the rest are the unit's answers (pieces.h):
// - road 0: identification answers, the first stored and unpacked into the unit information,
//   the next one the answer to the library's second question when the first named no unit;
// - road 1: IrDA short-form answers to message 9001 + byte 1 % 108 with parameter byte 2, taken
//   by the engine's receive step (a file request takes one answer per packet);
// - road 2: the packets of a download (serial, or IrDA with byte 1 bit 4) that the download
//   exports ask for: byte 1 % 4 picks the exercise memory, a listen-only transfer, one file
//   (byte 2 its index; the file is decoded) or a file's listing;
// - road 3: the names the IrDA stack reports for the devices in range (byte 1 bit 0: the mode
//   of the device query).
#pragma once

#include <cstdint>

#include "protocol/message_ids.h"

namespace quibra::fuzz {

enum AnswerRoad : uint8_t {
  kIdentifyRoad = 0,
  kIrdaAnswerRoad = 1,
  kDownloadRoad = 2,
  kDeviceNameRoad = 3
};
inline constexpr uint8_t kIrdaIdentify = 0x10;

enum Download : uint8_t {
  kMemoryDownload = 0,
  kListenDownload = 1,
  kFileDownload = 2,
  kListing = 3
};
inline constexpr uint8_t kIrdaPackets = 0x10;

inline int32_t AnsweredMessage(uint8_t selector) {
  return protocol::msg::kFirst + selector % (protocol::msg::kLast - protocol::msg::kFirst + 1);
}

}  // namespace quibra::fuzz

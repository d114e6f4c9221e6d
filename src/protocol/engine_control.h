// The engine's export operations: opening and closing the conversation, queueing messages and
// reading the statuses, progress and error counters.
#pragma once

#include <cstdint>

namespace quibra::protocol {

// Option bits of the reset call and the flags they set.
inline constexpr int32_t kOptionNoRecoding = 0x01;
inline constexpr int32_t kOptionKeepAlive = 0x02;
inline constexpr int32_t kOptionMissedBeats = 0x04;
inline constexpr int32_t kOptionUsb = 0x10;
inline constexpr int32_t kOptionIrdaSockets = 0x20;
inline constexpr int32_t kOptionExtraAnalysis = 0x40;
inline constexpr int32_t kOptionOnline = 0x80;
inline constexpr int32_t kOptionWireless = 0x100;

int32_t ResetIRCommunication(int32_t options);
int32_t StartIRCommunication(int32_t options, const char* port);
int32_t EndIRCommunication();
int32_t SendIRComMessage(int32_t id, int32_t param);
int32_t GetCurrentMessageStatus();
int32_t GetCollectiveStatus();
int32_t GetComProgress();
int32_t GetSCErrorData(int32_t index);
int32_t ResetSCErrorCTRs();

}  // namespace quibra::protocol

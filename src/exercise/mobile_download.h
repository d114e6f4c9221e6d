// Receiving a phone's exercise memory (protocol/mobile_link.h) behind the mobile connection
// dialog, and decoding it.
#pragma once

#include <cstdint>

namespace quibra::exercise {

// fnQuibra_ReadFromMobile: the dialog owned by `parent` waits for the phone; the memory it
// sent is decoded as a whole-memory image. AnalyzeFile's result when the memory arrived, 2 when
// the user pressed Restart, else 0.
int32_t ReadFromMobile(uint32_t parent);

}  // namespace quibra::exercise

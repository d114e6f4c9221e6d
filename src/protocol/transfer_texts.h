// The texts a transfer shows, and the message classes that choose them.
#pragma once

#include <cstdint>
#include <string>

namespace quibra::protocol {

// Commands the unit carries out without answering (9009, 9010, 9038, 9088, 9105).
bool IsCommandWithoutAnswer(int32_t id);
// Messages that ask the unit for data.
bool IsReadMessage(int32_t id);

// The default progress text of a message, in the module's 100-byte buffer (cleared first);
// empty for ids without one. The parameter is not used.
const char* GetDefaultTransferText(int32_t id, int32_t param);

// The shared dialog text of the current transfer.
std::string SharedDialogText();
void SetSharedDialogText(const char* text, size_t max_chars);

// Fills the shared dialog text with "Reading..." (text 2) for a read message or "Writing..."
// (text 7) otherwise, when it is empty or when force is set.
void SelectTransferText(bool force);

}  // namespace quibra::protocol

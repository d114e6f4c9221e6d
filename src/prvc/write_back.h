// What a newer running or cycling unit needs after its memory was written: the state byte its
// second bank keeps is copied into the first byte of the watch area (the unit reads the watch
// area from there when it starts again), and the unit is told to restore its working memory
// from what was written.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

// The pause these units need between the commands of a settings write.
inline constexpr uint32_t kAreaWritePauseMs = 300;

// Copies the state byte of the unit (params.MonitorType in the detected variant) from its second
// bank to the watch-area address of the memory map minus 5; a value other than 0 or 1 goes as 0.
// Types and variants without such a byte copy nothing and succeed. false when an exchange failed.
bool CopyStateByteToWatchArea(CommParams& params);

// Tells the unit to take its working memory from what was written (9088). The units carry it
// out without a word over IrDA and acknowledge it on a serial line: true when it went out and
// was not refused.
bool RestoreWorkingMemory(const CommParams& params);

// The end of every write into a newer unit's memory, in this order: the state-byte copy, a pause,
// then the memory restore command (9088). false when an exchange failed; the unit then keeps
// what was written, without the restore.
bool FinishMemoryWrite(CommParams& params);

}  // namespace quibra::prvc

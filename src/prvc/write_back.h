// What a running or cycling unit needs after a direct write into one of its settings areas
// before it works with the new values: the copy of its state byte and the restore of its
// working memory. Shared by every settings transfer of these units that writes an area.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::prvc {

// The pause these units need between the commands of a settings write.
inline constexpr uint32_t kAreaWritePauseMs = 300;

// Copies the unit's state byte from its second memory bank to just below its watch area (the
// source address depends on params.MonitorType and the detected variant; types and variants
// that keep no such byte copy nothing and succeed). A read value other than 0 or 1 is written
// as 0. False when an exchange failed.
bool CopyStateByte(CommParams& params);

// Asks the unit to take its working memory from what was written (the memory-restore command).
// False when the command was not delivered.
bool RestoreWorkingMemory(CommParams& params);

// The steps after a successful area write, with the unit's pauses between them: pause, state
// byte copy, pause, working-memory restore, pause. False as soon as one fails; what the unit
// was sent before stays written.
bool FinishAreaWrite(CommParams& params);

}  // namespace quibra::prvc

// The application's side of a sound download: the dialog-driven reception, the copy of what was
// assembled into the memory transfer buffer, and the raw payload for the units whose data the
// library does not decode.
#pragma once

#include <cstdint>

namespace quibra::sound {

// Runs the "TONVOX_CONNECTION" dialog over the parent window and, after a complete reception,
// hands the data on by unit type. rate_select 1 records at 22 050 Hz, anything else at 44 100.
// 1 (or the analysis result) on success, 2 when the user asked for a retry, else 0.
int32_t ReadTonvoxData(uint32_t parent, int32_t monitor_type, int32_t rate_select,
                       int32_t gain_level, int32_t debug_dump);

// Clears the memory transfer buffer and stores the assembled data from position 1. 1, or 0 when
// it does not fit.
int32_t CopyTonvoxData();

// The payload length the reception's header announced (positions 5 and 6).
int32_t TonvoxPayloadLength();
// Widens the payload bytes (from position 7) into out; the payload length. Nothing is written
// for a null out.
int32_t TonvoxPayload(int16_t* out);

}  // namespace quibra::sound

// The checksums of the wire protocol.
//
// CRC-16 with generator 0x8005, register 0, no final XOR, most significant bit first, in the
// augmented form: a message's two checksum bytes are part of the computed range and are zero
// while it is computed, so that running the check over a whole image, checksum included,
// leaves 0. The online beat frames use the same scheme with an 8-bit register and 0x87.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quibra::protocol {

// The register after all bytes; 0 when the length is below 3.
uint16_t Crc16Compute(const uint8_t* buffer, size_t length);
// 1 when the register after all bytes is 0; 0 otherwise and when the length is below 3.
int32_t Crc16Check(const uint8_t* buffer, size_t length);
// 1 when the 8-bit register after all bytes is 0; 0 otherwise and when the length is below 2.
int32_t OnlineFrameCheck(const uint8_t* buffer, size_t length);

// Register steps, exposed for streaming use: one byte through the register.
uint16_t Crc16Step(uint16_t reg, uint8_t byte);
uint8_t Crc8Step(uint8_t reg, uint8_t byte);

}  // namespace quibra::protocol

// The checksum a unit closes its frames with and checks requests by: CRC-16 with the generator
// x^16 + x^15 + x^2 + 1 (0x8005), register 0 at the start, message bits shifted in from the most
// significant bit of each byte, and nothing XORed at the end. It is computed in the augmented
// form: the frame's last two bytes are zero while it runs and then receive the register, high
// byte first, so the same computation over a sealed frame leaves 0.
#pragma once

#include <cstdint>
#include <span>

namespace quibra::sim {

// The register after shifting in every bit of the bytes.
uint16_t Crc16(std::span<const uint8_t> bytes);

// Whether a sealed frame (checksum included) leaves the register at 0. A frame too short to
// hold anything besides a checksum does not check.
bool Crc16Checks(std::span<const uint8_t> frame);

// Writes the checksum into the frame's last two bytes.
void Crc16Seal(std::span<uint8_t> frame);

}  // namespace quibra::sim

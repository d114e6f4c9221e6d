// What the bikes, the shoes and the horse mode of the newer running and cycling units share:
// which monitor types each export serves, the error codes of a refusal, names in the device
// character set, and the read-modify-write of an area in unit memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "quibra/records.h"

namespace quibra::prvc {

// A field the library cannot take (a flag other than 0 or 1, a name with a character the unit
// cannot show); nothing is sent.
inline constexpr int32_t kErrorGearValue = 104;
// The unit type is not one the export serves; nothing is sent.
inline constexpr int32_t kErrorGearUnitType = 105;

// The exports of this group, each serving the monitor types of gear_area.cpp's table.
enum class GearExport : uint8_t { Bikes, BikesPR9W, BikesVC8Z, Shoes, ShoesPR9W, HorseMode };

// True when the export serves the type; otherwise sets kErrorGearUnitType.
bool Serves(GearExport which, int32_t type);

// Names of bikes and shoes: at most 10 characters of device table 5.
inline constexpr size_t kGearNameChars = 10;
// Cuts the name to the characters the unit keeps and puts `fallback` into an empty one. false
// (with kErrorGearValue) for a character table 5 lacks.
bool CheckGearName(char (&name)[12], const char* fallback);
void PackGearName(std::span<uint8_t> out, const char (&name)[12]);
void UnpackGearName(std::span<const uint8_t> in, char (&name)[12]);

// A flag field: 0 or 1, else kErrorGearValue.
bool CheckGearFlag(int32_t value);

// Reads `count` bytes at address, lets `change` rewrite them, writes them back and finishes the
// write (state byte, memory restore); the bytes the library does not own stay as the unit had
// them. false when an exchange failed; the unit then keeps what was written before.
bool RewriteUnitArea(CommParams& params, int32_t address, size_t count,
                     const std::function<void(std::span<uint8_t>)>& change);

}  // namespace quibra::prvc

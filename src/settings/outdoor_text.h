// The short texts of the outdoor units (alarm texts, reminders, route points, info lines): 7
// device codes of one character table, the last character that is not a space and every space
// after it carrying the end mark (bit 7), so that the unit knows where the text stops.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/image_bytes.h"

namespace quibra::settings {

inline constexpr size_t kOutdoorTextChars = 7;
// A record keeps 8 characters of a text; the unit keeps the first 7.
inline constexpr size_t kOutdoorTextField = 8;

// The tables the outdoor units write their texts in.
inline constexpr int32_t kTextTable = 1;   // reminders and info texts
inline constexpr int32_t kClockTable = 2;  // alarm texts and route points (capitals only)

using OutdoorCodes = std::array<uint8_t, kOutdoorTextChars>;

// Small letters a..z among the first `count` characters become capitals, in place.
void CapitalizeText(char* text, size_t count = kOutdoorTextField);

// The first 7 characters in the table's device code; a terminator or a character the table
// lacks becomes the device space.
OutdoorCodes ToDeviceCodes(const char* text, int32_t table);

// Writes the codes from index `first` on, end-marked.
void PackMarkedCodes(const ImageWriter& image, int32_t first, OutdoorCodes codes);

// Reads 7 codes from index `first` on, cuts them at their end mark and turns them back into
// characters (a code the table lacks becomes 0); trailing spaces from the seventh character down
// to the second become zeros. text must hold 7 characters.
void UnpackMarkedText(const ImageReader& image, int32_t first, char* text, int32_t table);

}  // namespace quibra::settings

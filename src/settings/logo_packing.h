// Logos: the small monochrome picture many units show, handed over as one 32-bit value per
// display column (bit r = the pixel in row r). This file holds the display size of every unit
// type, the range check of the columns, and how a logo is packed into the logo message image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quibra::settings {

// The widest display has 64 columns.
inline constexpr size_t kMaxLogoColumns = 64;

// Display rows and columns of a unit type; 0 for a type without a logo.
int32_t LogoRowCount(int32_t type);
int32_t LogoColumnCount(int32_t type);

// True when the type has a logo and every one of its columns lies in 0 .. 2^rows - 1.
bool LogoColumnsFit(int32_t type, const int32_t* columns);

// The outdoor units (19..21) take their logo in two images of their own message.
bool IsOutdoorLogoType(int32_t type);

// Exchanges the bits of rows r and rows - 1 - r for every r in the upper half.
uint32_t MirrorRows(uint32_t column, int32_t rows);

// Checks the columns and packs them into the type's logo image(s), then seals them (the mode is
// the link type, as the seal takes it). false when the check fails; nothing is written then.
// The slot goes in the first payload byte of the newer units' logo (33..38).
bool PrepareLogo(int32_t type, const int32_t* columns, int32_t slot, int32_t mode);

// A prepared logo as it goes out, one byte sequence per image in the order sent: header (with
// the logo message code and length of the type), payload and checksum.
std::vector<std::vector<uint8_t>> PreparedLogoImages(int32_t type);

}  // namespace quibra::settings

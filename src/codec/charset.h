// Conversions between PC texts and device texts, and the fitting of device texts to the pixel
// width of a unit's display. Bit 7 of a device code is not part of the code: it marks the last
// character of a text or of a display line. Device code 10 (space) pads fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quibra::codec {

inline constexpr uint8_t kEndMark = 0x80;
inline constexpr uint8_t kDeviceSpace = 10;

// The device code of the first row whose PC column matches ch, else default_code (also for a
// table outside 0..5). Tables 0..4 compare the full 32-bit value (so a char of 128 or above,
// widened from a signed char, is never found there); table 5 compares the low 8 bits.
int32_t CharToDeviceCode(int32_t ch, int32_t default_code, int32_t table);
// The PC character of the first row with this device code, else default_char. A code with bit 7
// set is unknown.
int32_t DeviceCodeToChar(int32_t code, int32_t default_char, int32_t table);
// Pixel width of the first row with this device code in tables 1, 4 and 5; 0 for an unknown code
// and for tables 0, 2 and 3.
int32_t GetCharPixelWidth(int32_t code, int32_t table);

// True when every character of the zero-terminated text is in the table (empty text: true).
bool CheckCharString(const char* text, int32_t table);

// Sums the pixel widths of the codes from the first; at the first code that makes the sum exceed
// max_pixels, sets bit 7 of the code before it. Returns the index of the first code that does not
// fit, or text.size() when all fit. The whole span is measured: code 0 is the digit zero.
size_t MarkPixelLimit(std::span<uint8_t> text, int32_t max_pixels, int32_t table);
// Marks the end of a space-padded device field: the last code that is not a space (index 0 when
// all are spaces) gets bit 7; with mark_all, so does every code after it.
void SetEndMark(std::span<uint8_t> text, bool mark_all);
// Cuts at the first code with bit 7 set: clears the bit and fills the rest with spaces.
void CutAtEndMark(std::span<uint8_t> text);

// How a text will look on the unit, in place (see charset.cpp). Returns true and rewrites the
// text, or false (text untouched) when start is above 255 or above the text's length.
bool CutStringToFitPixelsPreview(char* text, int32_t start, int32_t count, int32_t max_pixels,
                                 int32_t table);

}  // namespace quibra::codec

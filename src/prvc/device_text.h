// Texts in the memory of the running and cycling units: fixed fields of device codes, padded
// with device spaces, the last character (and every space after it) carrying the end mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quibra::prvc {

// The character table of the newer units' texts.
inline constexpr int32_t kNewerTextTable = 5;

// Packs the text (up to its terminator or text_capacity characters, at most out.size()) into
// out in the device code of `table` (a character the table lacks becomes the device space, as
// does every position after the text); with max_pixels > 0 the last character that fits in that
// width is marked; then the end of the field is marked.
void PackDeviceText(std::span<uint8_t> out, const char* text, size_t text_capacity, int32_t table,
                    int32_t max_pixels = 0);

// How far trailing spaces are cleared: down to the second character (a text the unit keeps as
// all spaces reads as one space), or down to the first (it reads as an empty text).
enum class TrailingSpaces : uint8_t { KeepFirst, ClearAll };

// The field as a PC text: cut at its first end mark, each code converted with `table` (an
// unknown code becomes `unknown`), trailing spaces cleared. Writes in.size() characters and a
// terminator when text_capacity leaves room for it.
void UnpackDeviceText(std::span<const uint8_t> in, char* text, size_t text_capacity, int32_t table,
                      char unknown, TrailingSpaces trailing);

}  // namespace quibra::prvc

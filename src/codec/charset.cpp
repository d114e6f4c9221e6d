#include "codec/charset.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codec/charset_tables.h"

namespace quibra::codec {
namespace {

// Table 5 is the one table that matches PC characters on their low byte, so that a character
// widened from a signed char (0xC4 arriving as -60) still finds its row.
constexpr int32_t kLowByteTable = 5;
// Tables whose units have proportional fonts; the others have no pixel widths.
constexpr bool kHasPixelWidths[kCharTableCount] = {false, true, false, false, true, true};

// The selection of a preview is converted into a work area of this size.
constexpr size_t kPreviewWorkArea = 256;
constexpr int32_t kPreviewMaxStart = 255;

}  // namespace

int32_t CharToDeviceCode(int32_t ch, int32_t default_code, int32_t table) {
  const bool low_byte = table == kLowByteTable;
  for (const CharRow& row : CharTable(table)) {
    const bool match = low_byte ? (row.pc & 0xFF) == (ch & 0xFF) : row.pc == ch;
    if (match) return row.device;
  }
  return default_code;
}

int32_t DeviceCodeToChar(int32_t code, int32_t default_char, int32_t table) {
  if ((code & kEndMark) != 0) return default_char;
  for (const CharRow& row : CharTable(table)) {
    if (row.device == code) return row.pc;
  }
  return default_char;
}

int32_t GetCharPixelWidth(int32_t code, int32_t table) {
  if (table < 0 || table >= kCharTableCount || !kHasPixelWidths[table]) return 0;
  for (const CharRow& row : CharTable(table)) {
    if (row.device == code) return row.width;
  }
  return 0;
}

bool CheckCharString(const char* text, int32_t table) {
  if (text == nullptr) return false;
  for (const char* p = text; *p != '\0'; ++p) {
    // Characters arrive as signed chars widened to 32 bits, as the units' applications pass them.
    if (CharToDeviceCode(static_cast<signed char>(*p), -1, table) == -1) return false;
  }
  return true;
}

size_t MarkPixelLimit(std::span<uint8_t> text, int32_t max_pixels, int32_t table) {
  int32_t sum = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // A code with its end mark set reads as negative here and so has no width.
    sum += GetCharPixelWidth(static_cast<int8_t>(text[i]), table);
    if (sum > max_pixels) {
      if (i > 0) text[i - 1] |= kEndMark;
      return i;
    }
  }
  return text.size();
}

void SetEndMark(std::span<uint8_t> text, bool mark_all) {
  if (text.empty()) return;
  size_t last = text.size() - 1;
  while (last > 0 && text[last] == kDeviceSpace)
    --last;
  if (!mark_all) {
    text[last] |= kEndMark;
    return;
  }
  for (size_t i = last; i < text.size(); ++i)
    text[i] |= kEndMark;
}

void CutAtEndMark(std::span<uint8_t> text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if ((text[i] & kEndMark) == 0) continue;
    text[i] &= static_cast<uint8_t>(~kEndMark);
    for (size_t k = i + 1; k < text.size(); ++k)
      text[k] = kDeviceSpace;
    return;
  }
}

bool CutStringToFitPixelsPreview(char* text, int32_t start, int32_t count, int32_t max_pixels,
                                 int32_t table) {
  const size_t len = std::strlen(text);
  // A negative start is out of range like one above the text; a negative count selects nothing
  // (the text then comes back empty).
  if (start < 0 || start > kPreviewMaxStart || static_cast<size_t>(start) > len) return false;
  const size_t first = static_cast<size_t>(start);
  size_t n = count < 0 ? 0 : static_cast<size_t>(count);
  if (first + n > len) n = len - first;  // start <= 255 and len - first bound n below 256

  std::array<uint8_t, kPreviewWorkArea> work{};
  for (size_t i = 0; i < n; ++i) {
    work[i] = static_cast<uint8_t>(
        CharToDeviceCode(static_cast<signed char>(text[first + i]), kDeviceSpace, table));
  }
  const std::span<uint8_t> selection(work.data(), n);
  const size_t fitting = MarkPixelLimit(selection, max_pixels, table);
  if (fitting == 0 && n > 0) {
    // Not even the first character fits, so there is no character to mark: the preview shows
    // only spaces.
    std::fill(selection.begin(), selection.end(), kDeviceSpace);
  } else {
    // Cut over the whole selection (not only its first ten codes), so that every character after
    // the last one that fits shows as a space however long the selection is.
    CutAtEndMark(selection);
  }
  for (size_t i = 0; i < n; ++i) {
    text[i] = static_cast<char>(DeviceCodeToChar(work[i], kDeviceSpace, table));
  }
  text[n] = '\0';
  return true;
}

}  // namespace quibra::codec

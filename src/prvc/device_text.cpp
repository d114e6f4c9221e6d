#include "prvc/device_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "codec/charset.h"

namespace quibra::prvc {

void PackDeviceText(std::span<uint8_t> out, const char* text, size_t text_capacity, int32_t table,
                    int32_t max_pixels) {
  const size_t length = std::min(strnlen(text, text_capacity), out.size());
  for (size_t i = 0; i < out.size(); ++i) {
    // Table 5 matches on the low byte, so the character goes as its unsigned byte.
    const int32_t ch = i < length ? static_cast<unsigned char>(text[i]) : ' ';
    out[i] = static_cast<uint8_t>(codec::CharToDeviceCode(ch, codec::kDeviceSpace, table));
  }
  if (max_pixels > 0) codec::MarkPixelLimit(out, max_pixels, table);
  codec::SetEndMark(out, true);
}

void UnpackDeviceText(std::span<const uint8_t> in, char* text, size_t text_capacity, int32_t table,
                      char unknown, TrailingSpaces trailing) {
  std::vector<uint8_t> codes(in.begin(), in.end());
  codec::CutAtEndMark(codes);
  const size_t count = std::min(codes.size(), text_capacity);
  for (size_t i = 0; i < count; ++i)
    text[i] = static_cast<char>(codec::DeviceCodeToChar(codes[i], unknown, table));
  const size_t lowest = trailing == TrailingSpaces::ClearAll ? 0 : 1;
  for (size_t i = count; i-- > lowest && text[i] == ' ';)
    text[i] = '\0';
  if (count < text_capacity) text[count] = '\0';
}

}  // namespace quibra::prvc

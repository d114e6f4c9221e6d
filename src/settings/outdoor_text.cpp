#include "settings/outdoor_text.h"

#include <span>

#include "codec/charset.h"

namespace quibra::settings {

void CapitalizeText(char* text, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
  }
}

OutdoorCodes ToDeviceCodes(const char* text, int32_t table) {
  OutdoorCodes codes{};
  for (size_t i = 0; i < kOutdoorTextChars; ++i) {
    // Characters go to the table as signed 8-bit values widened, as every text conversion does.
    const auto ch = static_cast<int32_t>(static_cast<signed char>(text[i]));
    codes[i] = static_cast<uint8_t>(codec::CharToDeviceCode(ch, codec::kDeviceSpace, table));
  }
  return codes;
}

void PackMarkedCodes(const ImageWriter& image, int32_t first, OutdoorCodes codes) {
  codec::SetEndMark(codes, true);
  for (size_t i = 0; i < kOutdoorTextChars; ++i)
    image.byte(first + static_cast<int32_t>(i), codes[i]);
}

void UnpackMarkedText(const ImageReader& image, int32_t first, char* text, int32_t table) {
  OutdoorCodes codes{};
  for (size_t i = 0; i < kOutdoorTextChars; ++i)
    codes[i] = static_cast<uint8_t>(image.byte(first + static_cast<int32_t>(i)));
  codec::CutAtEndMark(codes);
  for (size_t i = 0; i < kOutdoorTextChars; ++i)
    text[i] = static_cast<char>(codec::DeviceCodeToChar(codes[i], 0, table));
  for (size_t i = kOutdoorTextChars - 1; i >= 1 && text[i] == ' '; --i)
    text[i] = '\0';
}

}  // namespace quibra::settings

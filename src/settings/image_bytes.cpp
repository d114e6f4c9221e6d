#include "settings/image_bytes.h"

#include <cstring>
#include <string>

#include "codec/charset.h"
#include "codec/dates.h"
#include "platform/today.h"

namespace quibra::settings {
namespace {

constexpr int32_t kNameTable = 0;

// Characters are handed to the table as signed 8-bit values widened to 32 bits, so a character
// of code 128 or above is never found in table 0.
int32_t WidenChar(char c) {
  return static_cast<int32_t>(static_cast<signed char>(c));
}

}  // namespace

bool NameFitsTable0(const char* name, size_t field_size) {
  return TextFitsTable(name, field_size, kNameTable);
}

bool TextFitsTable(const char* text, size_t field_size, int32_t table) {
  // The field need not be terminated: check a terminated copy of what it holds.
  const std::string copy(text, strnlen(text, field_size));
  return codec::CheckCharString(copy.c_str(), table);
}

void ClearAfterTerminator(char* name, size_t count) {
  const size_t length = strnlen(name, count);
  for (size_t i = length; i < count; ++i)
    name[i] = '\0';
}

void PackUnitName(const ImageWriter& image, int32_t first, const char* name, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    image.byte(first + static_cast<int32_t>(i),
               codec::CharToDeviceCode(WidenChar(name[i]), codec::kDeviceSpace, kNameTable));
  }
}

void UnpackUnitName(const ImageReader& image, int32_t first, char* name, size_t count,
                    char unknown) {
  if (count == 0) return;
  for (size_t i = 0; i < count; ++i) {
    const int32_t code = image.byte(first + static_cast<int32_t>(i));
    name[i] = static_cast<char>(codec::DeviceCodeToChar(code, unknown, kNameTable));
  }
  for (size_t i = count - 1; i >= 1 && name[i] == ' '; --i)
    name[i] = '\0';
}

}  // namespace quibra::settings

// The time text of the library's own buffer: FormatTimeValue formats with the user's locale
// into a text the Module owns.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::exercise {

// The library-owned buffer behind FormatTimeValue (a Module member).
struct TimeText {
  std::array<char, 128> text{};
};

// The time text of value v in mode 0..15 (codec::FormatTimeText) with the locale in force
// (platform::locale()), written into the library-owned text buffer of the Module; the pointer
// stays valid until the next call.
const char* FormatTimeValue(int32_t value, int32_t mode);

}  // namespace quibra::exercise

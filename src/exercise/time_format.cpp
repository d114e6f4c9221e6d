#include "exercise/time_format.h"

#include <algorithm>
#include <cstring>

#include "codec/time_text.h"
#include "frame/module.h"
#include "platform/registry.h"

namespace quibra::exercise {

const char* FormatTimeValue(int32_t value, int32_t mode) {
  codec::TimeLocale locale = platform::locale().time_locale();
  if (locale.separator.empty()) locale.separator.push_back(':');  // the usual separator
  const std::string text = codec::FormatTimeText(value, mode, locale);
  auto& buffer = module().time_text.text;
  const size_t n = std::min(text.size(), buffer.size() - 1);
  std::memcpy(buffer.data(), text.data(), n);
  buffer[n] = '\0';
  return buffer.data();
}

}  // namespace quibra::exercise

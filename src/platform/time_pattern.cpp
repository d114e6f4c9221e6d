// Reading a strftime time pattern for the posix locale backend.
#include "platform/locale.h"

namespace quibra::platform {

codec::TimeLocale ParseTimePattern(const std::string& pattern,
                                   const std::string& twelve_hour_pattern) {
  codec::TimeLocale result;
  std::string p = pattern;
  // %r is the locale's 12-hour form, %T and %R fixed 24-hour forms.
  if (const size_t at = p.find("%r"); at != std::string::npos) {
    p.replace(at, 2, twelve_hour_pattern.empty() ? "%I:%M:%S %p" : twelve_hour_pattern);
  }
  if (const size_t at = p.find("%T"); at != std::string::npos) p.replace(at, 2, "%H:%M:%S");
  if (const size_t at = p.find("%R"); at != std::string::npos) p.replace(at, 2, "%H:%M");

  for (size_t i = 0; i + 1 < p.size(); ++i) {
    if (p[i] != '%') continue;
    size_t k = i + 1;
    bool unpadded = false;
    while (k < p.size() &&
           (p[k] == '-' || p[k] == '_' || p[k] == '0' || p[k] == 'E' || p[k] == 'O')) {
      if (p[k] == '-' || p[k] == '_') unpadded = true;
      ++k;
    }
    if (k >= p.size()) break;
    const char c = p[k];
    if (c != 'H' && c != 'I' && c != 'k' && c != 'l') {
      i = k;
      continue;
    }
    result.twelve_hour = (c == 'I' || c == 'l');
    result.hour_leading_zero = !unpadded && (c == 'H' || c == 'I');
    // The separator is what stands between the hour and the next conversion.
    const size_t next = p.find('%', k + 1);
    const std::string sep =
        p.substr(k + 1, next == std::string::npos ? std::string::npos : next - (k + 1));
    if (!sep.empty()) result.separator = sep;
    return result;
  }
  return result;
}

}  // namespace quibra::platform

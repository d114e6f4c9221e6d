// win32 backend of the locale: the user locale's time settings (GetLocaleInfoA).
#include <windows.h>

#include <string>

#include "platform/locale.h"

namespace quibra::platform {
namespace {

std::string UserLocaleText(LCTYPE what) {
  char buffer[80] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buffer, sizeof buffer) <= 0) return std::string();
  return std::string(buffer);
}

class Win32Locale final : public Locale {
 public:
  codec::TimeLocale time_locale() override {
    codec::TimeLocale result;
    const std::string separator = UserLocaleText(LOCALE_STIME);
    if (!separator.empty()) result.separator = separator;
    result.hour_leading_zero = UserLocaleText(LOCALE_ITLZERO) == "1";
    result.twelve_hour = UserLocaleText(LOCALE_ITIME) == "0";  // "1" is the 24-hour clock
    result.am = UserLocaleText(LOCALE_S1159);
    result.pm = UserLocaleText(LOCALE_S2359);
    return result;
  }
};

}  // namespace

Locale& system_locale() {
  static Win32Locale instance;
  return instance;
}

}  // namespace quibra::platform

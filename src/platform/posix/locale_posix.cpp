// posix backend of the locale: the user's LC_TIME locale (from the environment, as the C library
// reads it), queried with nl_langinfo_l so that the process's global locale is left alone.
#include <langinfo.h>
#include <locale.h>

#include "platform/locale.h"

namespace quibra::platform {
namespace {

class PosixLocale final : public Locale {
 public:
  codec::TimeLocale time_locale() override {
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) {
      user = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
      if (user == static_cast<locale_t>(0)) return codec::TimeLocale{};
    }
    codec::TimeLocale result =
        ParseTimePattern(nl_langinfo_l(T_FMT, user), nl_langinfo_l(T_FMT_AMPM, user));
    result.am = nl_langinfo_l(AM_STR, user);
    result.pm = nl_langinfo_l(PM_STR, user);
    freelocale(user);
    return result;
  }
};

}  // namespace

Locale& system_locale() {
  static PosixLocale instance;
  return instance;
}

}  // namespace quibra::platform

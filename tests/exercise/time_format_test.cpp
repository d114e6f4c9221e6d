// FormatTimeValue: the locale in force and the library's own text buffer.
#include "exercise/time_format.h"

#include <gtest/gtest.h>

#include "codec/time_text.h"
#include "platform/registry.h"
#include "support/module_fixture.h"

namespace quibra::exercise {
namespace {

codec::TimeLocale Locale(const char* separator) {
  codec::TimeLocale l;
  l.separator = separator;
  return l;
}

class FormatTimeValueTest : public testing::ModuleTest {};

TEST_F(FormatTimeValueTest, UsesTheLocaleInForceAndTheLibraryBuffer) {
  platform::FixedLocale dotted(Locale("."));
  platform::set_locale(&dotted);
  const char* first = FormatTimeValue(36005, 5);
  EXPECT_STREQ(first, "60.00");
  const char* second = FormatTimeValue(36005, 7);
  EXPECT_EQ(first, second);  // the same buffer, overwritten
  EXPECT_STREQ(second, "01:00:00.5");

  platform::FixedLocale no_separator(Locale(""));
  platform::set_locale(&no_separator);
  EXPECT_STREQ(FormatTimeValue(36005, 0), "1:00");
  platform::set_locale(nullptr);
}

}  // namespace
}  // namespace quibra::exercise

// The locale interface of the platform seam: what the time texts need of the user's locale.
#pragma once

#include <string>
#include <utility>

#include "codec/time_text.h"

namespace quibra::platform {

// Contract: may be called from any thread, never fails (a backend that cannot read the user's
// settings returns the defaults of TimeLocale), does not block.
class Locale {
 public:
  virtual ~Locale() = default;
  virtual codec::TimeLocale time_locale() = 0;
};

// The operating system's user locale (posix or win32 backend, chosen at build time).
Locale& system_locale();

// A fixed locale for tests and tools: always answers what it was given.
class FixedLocale final : public Locale {
 public:
  explicit FixedLocale(codec::TimeLocale value) : value_(std::move(value)) {}
  codec::TimeLocale time_locale() override { return value_; }

 private:
  codec::TimeLocale value_;
};

// Reads the hour style and separator of a strftime time pattern ("%H:%M:%S", "%I.%M %p",
// "%r" with its 12-hour expansion given). Used by the posix backend; plain text work.
codec::TimeLocale ParseTimePattern(const std::string& pattern,
                                   const std::string& twelve_hour_pattern);

}  // namespace quibra::platform

// The argument forms the tool's commands share: whole numbers in a range and the link kind.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "identify.h"

namespace quibra::cli {

// A whole decimal number within low..high and nothing after it.
inline bool ParseNumber(const char* text, int32_t low, int32_t high, int32_t& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int32_t>(value);
  return true;
}

// "serial", "usb" or "irda"; anything else is refused.
inline bool ParseLinkKind(const std::string& text, LinkKind& out) {
  if (text == "serial") {
    out = LinkKind::Serial;
  } else if (text == "usb") {
    out = LinkKind::Usb;
  } else if (text == "irda") {
    out = LinkKind::Irda;
  } else {
    return false;
  }
  return true;
}

}  // namespace quibra::cli

#include "frame/failure_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "frame/module.h"

namespace quibra::frame {

void FailureText::set(std::string text) {
  std::lock_guard guard(lock_);
  text_ = std::move(text);
}

std::string FailureText::get() {
  std::lock_guard guard(lock_);
  return text_;
}

void SetFailureText(std::string text) {
  module().failure_text.set(std::move(text));
}

std::string GetFailureText() {
  return module().failure_text.get();
}

int32_t CopyFailureText(char* text, int32_t size) {
  const std::string reason = GetFailureText();
  if (text != nullptr && size > 0) {
    const size_t kept = std::min(reason.size(), static_cast<size_t>(size) - 1);
    std::memcpy(text, reason.data(), kept);
    text[kept] = '\0';
  }
  return static_cast<int32_t>(reason.size());
}

}  // namespace quibra::frame

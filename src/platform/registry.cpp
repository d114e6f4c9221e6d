#include "platform/registry.h"

#include <atomic>

namespace quibra::platform {
namespace {
std::atomic<Clock*> g_clock{nullptr};
std::atomic<Locale*> g_locale{nullptr};
}  // namespace

Clock& clock() {
  Clock* replacement = g_clock.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_clock();
}

void set_clock(Clock* replacement) {
  g_clock.store(replacement, std::memory_order_release);
}

Locale& locale() {
  Locale* replacement = g_locale.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_locale();
}

void set_locale(Locale* replacement) {
  g_locale.store(replacement, std::memory_order_release);
}

}  // namespace quibra::platform

#include "platform/registry.h"

#include <atomic>

namespace quibra::platform {
namespace {
std::atomic<Clock*> g_clock{nullptr};
std::atomic<BytePort*> g_byte_port{nullptr};
std::atomic<LinkLibrary*> g_link_library{nullptr};
}  // namespace

Clock& clock() {
  Clock* replacement = g_clock.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_clock();
}

void set_clock(Clock* replacement) {
  g_clock.store(replacement, std::memory_order_release);
}

BytePort& byte_port() {
  BytePort* replacement = g_byte_port.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_byte_port();
}

void set_byte_port(BytePort* replacement) {
  g_byte_port.store(replacement, std::memory_order_release);
}

LinkLibrary& link_library() {
  LinkLibrary* replacement = g_link_library.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_link_library();
}

void set_link_library(LinkLibrary* replacement) {
  g_link_library.store(replacement, std::memory_order_release);
}

}  // namespace quibra::platform

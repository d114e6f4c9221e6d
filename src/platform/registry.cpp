#include "platform/registry.h"

#include <atomic>

namespace quibra::platform {
namespace {

std::atomic<Clock*> g_clock{nullptr};
std::atomic<SoundOutput*> g_sound_output{nullptr};
std::atomic<TempFiles*> g_temp_files{nullptr};

template <typename Interface>
Interface& chosen(const std::atomic<Interface*>& slot, Interface& system) {
  Interface* replacement = slot.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system;
}

}  // namespace

Clock& clock() { return chosen(g_clock, system_clock()); }
void set_clock(Clock* replacement) { g_clock.store(replacement, std::memory_order_release); }

SoundOutput& sound_output() { return chosen(g_sound_output, system_sound_output()); }
void set_sound_output(SoundOutput* replacement) {
  g_sound_output.store(replacement, std::memory_order_release);
}

TempFiles& temp_files() { return chosen(g_temp_files, system_temp_files()); }
void set_temp_files(TempFiles* replacement) {
  g_temp_files.store(replacement, std::memory_order_release);
}

}  // namespace quibra::platform

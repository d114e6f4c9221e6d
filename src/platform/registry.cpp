#include "platform/registry.h"

#include <atomic>

#include "frame/module.h"

namespace quibra::platform {
namespace {

std::atomic<Clock*> g_clock{nullptr};
std::atomic<BytePort*> g_byte_port{nullptr};
std::atomic<IrdaSockets*> g_irda_sockets{nullptr};
std::atomic<LinkLibrary*> g_link_library{nullptr};
std::atomic<Locale*> g_locale{nullptr};
std::atomic<SoundOutput*> g_sound_output{nullptr};
std::atomic<SoundInput*> g_sound_input{nullptr};
std::atomic<TempFiles*> g_temp_files{nullptr};
std::atomic<FileDialogs*> g_file_dialogs{nullptr};

template <typename Interface>
Interface& chosen(const std::atomic<Interface*>& slot, Interface& system) {
  Interface* replacement = slot.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system;
}

template <typename Interface>
void install(std::atomic<Interface*>& slot, Interface* replacement) {
  slot.store(replacement, std::memory_order_release);
}

// The system backends that hold state are the Module's.
Backends& own() {
  return module().backends;
}

}  // namespace

Clock& clock() { return chosen(g_clock, system_clock()); }
void set_clock(Clock* replacement) { install(g_clock, replacement); }

BytePort& system_byte_port() { return *own().byte_port; }

BytePort& byte_port() { return chosen(g_byte_port, system_byte_port()); }
void set_byte_port(BytePort* replacement) { install(g_byte_port, replacement); }

IrdaSockets& irda_sockets() { return chosen(g_irda_sockets, *own().irda_sockets); }
void set_irda_sockets(IrdaSockets* replacement) { install(g_irda_sockets, replacement); }

LinkLibrary& link_library() { return chosen(g_link_library, *own().link_library); }
void set_link_library(LinkLibrary* replacement) { install(g_link_library, replacement); }

Locale& locale() { return chosen(g_locale, system_locale()); }
void set_locale(Locale* replacement) { install(g_locale, replacement); }

SoundOutput& sound_output() { return chosen(g_sound_output, *own().sound_output); }
void set_sound_output(SoundOutput* replacement) { install(g_sound_output, replacement); }

SoundInput& sound_input() { return chosen(g_sound_input, *own().sound_input); }
void set_sound_input(SoundInput* replacement) { install(g_sound_input, replacement); }

TempFiles& temp_files() { return chosen(g_temp_files, system_temp_files()); }
void set_temp_files(TempFiles* replacement) { install(g_temp_files, replacement); }

FileDialogs& file_dialogs() { return chosen(g_file_dialogs, system_file_dialogs()); }
void set_file_dialogs(FileDialogs* replacement) { install(g_file_dialogs, replacement); }

}  // namespace quibra::platform

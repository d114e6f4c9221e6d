#include "platform/registry.h"

#include "frame/module.h"
#include "platform/slot.h"

namespace quibra::platform {
namespace {

Slot<Clock> g_clock;
Slot<BytePort> g_byte_port;
Slot<IrdaSockets> g_irda_sockets;
Slot<LinkLibrary> g_link_library;
Slot<Locale> g_locale;
Slot<SoundOutput> g_sound_output;
Slot<SoundInput> g_sound_input;
Slot<TempFiles> g_temp_files;
Slot<FileDialogs> g_file_dialogs;

// The system backends that hold state are the Module's.
Backends& own() {
  return module().backends;
}

IrdaSockets& own_irda_sockets() {
  return *own().irda_sockets;
}
LinkLibrary& own_link_library() {
  return *own().link_library;
}
SoundOutput& own_sound_output() {
  return *own().sound_output;
}
SoundInput& own_sound_input() {
  return *own().sound_input;
}

}  // namespace

Clock& clock() {
  return g_clock.get(system_clock);
}
void set_clock(Clock* replacement) {
  g_clock.set(replacement);
}

BytePort& system_byte_port() {
  return *own().byte_port;
}
BytePort& byte_port() {
  return g_byte_port.get(system_byte_port);
}
void set_byte_port(BytePort* replacement) {
  g_byte_port.set(replacement);
}

IrdaSockets& irda_sockets() {
  return g_irda_sockets.get(own_irda_sockets);
}
void set_irda_sockets(IrdaSockets* replacement) {
  g_irda_sockets.set(replacement);
}

LinkLibrary& link_library() {
  return g_link_library.get(own_link_library);
}
void set_link_library(LinkLibrary* replacement) {
  g_link_library.set(replacement);
}

Locale& locale() {
  return g_locale.get(system_locale);
}
void set_locale(Locale* replacement) {
  g_locale.set(replacement);
}

SoundOutput& sound_output() {
  return g_sound_output.get(own_sound_output);
}
void set_sound_output(SoundOutput* replacement) {
  g_sound_output.set(replacement);
}

SoundInput& sound_input() {
  return g_sound_input.get(own_sound_input);
}
void set_sound_input(SoundInput* replacement) {
  g_sound_input.set(replacement);
}

TempFiles& temp_files() {
  return g_temp_files.get(system_temp_files);
}
void set_temp_files(TempFiles* replacement) {
  g_temp_files.set(replacement);
}

FileDialogs& file_dialogs() {
  return g_file_dialogs.get(system_file_dialogs);
}
void set_file_dialogs(FileDialogs* replacement) {
  g_file_dialogs.set(replacement);
}

}  // namespace quibra::platform

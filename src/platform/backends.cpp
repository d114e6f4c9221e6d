#include "platform/backends.h"

namespace quibra::platform {

Backends::Backends()
    : byte_port(make_system_byte_port()),
      irda_sockets(make_system_irda_sockets()),
      link_library(make_system_link_library()),
      sound_input(make_system_sound_input()),
      sound_output(make_system_sound_output()) {}

// Each backend releases what it holds in its own destructor: the port's descriptor, the
// library's handle, the recording device.
Backends::~Backends() = default;

}  // namespace quibra::platform

// The system backends that hold state: an open port, a loaded companion library, a recording
// device. The Module owns one set, made when it is loaded and destroyed when it is unloaded, so
// unloading closes whatever the library opened and a fresh Module starts with nothing open. The
// registry hands them out unless a replacement is installed.
//
// The clock, the locale, temporary files and the file dialogs hold no state of their own; their
// backends stay single process-wide objects behind the registry.
#pragma once

#include <memory>

#include "platform/byte_port.h"
#include "platform/irda_sockets.h"
#include "platform/link_library.h"
#include "platform/sound_input.h"
#include "platform/sound_output.h"

namespace quibra::platform {

struct Backends {
  Backends();
  ~Backends();
  Backends(const Backends&) = delete;
  Backends& operator=(const Backends&) = delete;

  std::unique_ptr<BytePort> byte_port;
  std::unique_ptr<IrdaSockets> irda_sockets;
  std::unique_ptr<LinkLibrary> link_library;
  std::unique_ptr<SoundInput> sound_input;
  std::unique_ptr<SoundOutput> sound_output;
};

}  // namespace quibra::platform

// Where a command reaches its unit: a port (with the kind of link behind it), or, for the
// commands that write, a sound file that the caller plays to the unit later.
#pragma once

#include <cstring>
#include <string>

#include "command_line.h"
#include "quibra/quibra.h"

namespace quibra::cli {

struct Destination {
  std::string port;
  LinkKind link = LinkKind::Serial;
  std::string sound_file;  // empty: no sound
};

// --port DEV, --link KIND and, where the command writes by sound, --sound FILE.
inline void AddDestinationOptions(CLI::App* app, Destination& d, bool sound_allowed) {
  app->add_option("--port", d.port, "the unit's port (a tty: /dev/ttyUSB0, a pty of quibra sim)")
      ->option_text("DEV");
  AddLinkOption(app, d.link);
  if (sound_allowed) {
    app->add_option("--sound", d.sound_file,
                    "write the upload sound to FILE.wav instead of sending over infrared")
        ->option_text("FILE.wav");
  }
}

// A sound goes only with a write and never with a port as well. Without a sound the unit needs
// a port, except on a link that finds its unit by itself (USB, IrDA). Otherwise a usage error.
inline void CheckDestination(const Destination& d, bool write) {
  if (!d.sound_file.empty()) {
    if (!write) UsageError("--sound is for sending: a unit cannot be read by sound");
    if (!d.port.empty()) UsageError("--sound and --port exclude each other");
    return;
  }
  if (d.port.empty() && d.link == LinkKind::Serial) UsageError("--port is required");
}

// The transfer parameters that write a sound into d.sound_file and keep it there. false when
// the file name does not fit.
inline bool SoundFileParams(const Destination& d, CommParams& params) {
  params = CommParams{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (d.sound_file.size() >= sizeof params.FilePath) return false;
  std::memcpy(params.FilePath, d.sound_file.data(), d.sound_file.size());
  params.LinkType = 0;
  params.SoundFileOnly = 1;
  params.KeepSoundFile = 1;
  return true;
}

}  // namespace quibra::cli

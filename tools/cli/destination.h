// Where a command reaches its unit: a port (with the kind of link behind it), or, for the
// commands that write, a sound file that the caller plays to the unit later.
#pragma once

#include <cstring>
#include <string>

#include "arguments.h"
#include "quibra/quibra.h"

namespace quibra::cli {

struct Destination {
  std::string port;
  LinkKind link = LinkKind::Serial;
  std::string sound_file;  // empty: no sound
};

// Takes "--port DEV", "--link KIND" and, where the command writes by sound, "--sound FILE".
// false for any other option or a link kind the tool does not know.
inline bool TakeDestination(const std::string& option, const char* value, bool sound_allowed,
                            Destination& d) {
  if (option == "--port") {
    d.port = value;
    return true;
  }
  if (option == "--link") return ParseLinkKind(value, d.link);
  if (option == "--sound" && sound_allowed) {
    d.sound_file = value;
    return true;
  }
  return false;
}

// A sound goes only with a write and never with a port as well. Without a sound the unit needs
// a port, except on a link that finds its unit by itself (USB, IrDA).
inline bool DestinationComplete(const Destination& d, bool write) {
  if (!d.sound_file.empty()) return write && d.port.empty();
  return !d.port.empty() || d.link != LinkKind::Serial;
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

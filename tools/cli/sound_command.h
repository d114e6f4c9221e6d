// quibra sound: a unit's sound download. `unit` writes the sound a simulated unit makes when it
// sends a file's bytes; `receive` listens to a wave file (or the sound card) through the
// library's download dialog and shows what arrived.
#pragma once

namespace quibra::cli {

// quibra sound unit --payload FILE --out FILE.wav [--type N] [--rate 22050|44100] [--coded]
// quibra sound receive [--wav FILE.wav] --type N [--rate 22050|44100] [--gain 1..10]
//                      [--out FILE.hrm]
// Exit code 0 on success, 1 when the sound or the reception failed, 2 for wrong arguments.
int SoundCommand(int argc, char** argv);

}  // namespace quibra::cli

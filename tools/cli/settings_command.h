// `quibra settings get|set`: a settings group of an older unit as JSON, read from the unit or
// sent to it (or written as the upload sound to a wave file).
#pragma once

namespace quibra::cli {

// args after "settings". Returns the exit code.
int SettingsCommand(int argc, char** argv);

}  // namespace quibra::cli

// `quibra bikes get|set`: the bike settings of a unit as JSON, read from the unit or sent to it
// (or written as the upload sound to a wave file).
#pragma once

namespace quibra::cli {

// args after "bikes". Returns the exit code.
int BikesCommand(int argc, char** argv);

}  // namespace quibra::cli

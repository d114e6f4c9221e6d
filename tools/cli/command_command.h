// `quibra command`: a single command or service value sent to a wrist unit over infrared.
#pragma once

namespace quibra::cli {

// args after "command". Returns the exit code.
int UnitCommand(int argc, char** argv);

}  // namespace quibra::cli

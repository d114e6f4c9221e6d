// The simulator as a program: puts a simulated wrist unit on a pseudo-terminal, prints the
// device path to open as its port, and runs until SIGINT or SIGTERM. Shared by quibra-sim and
// the `quibra sim` command.
#pragma once

namespace quibra::sim {

// args: --type N [--variant V] [--paced]. `name` prefixes the messages. Returns the exit code.
int RunSimProgram(const char* name, int argc, char** argv);

}  // namespace quibra::sim

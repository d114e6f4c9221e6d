// The simulator as a program: puts a simulated wrist unit on a pseudo-terminal, prints the
// device path to open as its port, and runs until SIGINT or SIGTERM. Shared by quibra-sim and
// the `quibra sim` command.
#pragma once

namespace quibra::sim {

// argv holds the options alone (no program name): --type N [--variant V] [--product-code C]
// [--paced | --irda] [--memory FILE.bin | --exercises N]; `name` prefixes the messages. Returns
// the exit code: 0 after a stop signal or --help, 2 for options it cannot take (with the
// reason on standard error), 1 when the unit cannot be put on a line.
int RunSimProgram(const char* name, int argc, char** argv);

}  // namespace quibra::sim

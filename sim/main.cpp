// quibra-sim: puts a simulated wrist unit on a pseudo-terminal and prints the device path to
// open as its port. Runs until SIGINT or SIGTERM.
//
//   quibra-sim --type N [--variant V] [--product-code C] [--paced | --irda]
//              [--memory FILE.bin | --exercises N]
#include "program.h"

int main(int argc, char** argv) {
  return quibra::sim::RunSimProgram("quibra-sim", argc - 1, argv + 1);
}

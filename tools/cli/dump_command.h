// quibra dump-memory: the whole memory of a running or cycling unit as a text file of
// hexadecimal lines, behind the library's progress dialog.
#pragma once

namespace quibra::cli {

// quibra dump-memory --out FILE --port DEV [--link serial|usb]. Loads the library for the
// command. Exit code 0 when the file was written, 1 when the unit or the file failed, 2 for
// wrong arguments.
int DumpMemoryCommand(int argc, char** argv);

}  // namespace quibra::cli

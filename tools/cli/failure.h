// The causes the tool names when something fails: the library's error code in words and the
// system's reason why a port does not open.
#pragma once

#include <string>

namespace quibra::cli {

// " (library error 2: file not opened or created)" for the library's last error code, empty
// when the library set none; for the end of an error message.
std::string LibraryErrorCause();

// Why the port does not open as the system tells it ("No such file or directory", "Permission
// denied", "not a terminal"), empty when the system sees nothing wrong with it.
std::string PortCause(const std::string& port);

}  // namespace quibra::cli

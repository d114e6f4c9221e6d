#include "dump_command.h"

#include <cstdio>
#include <string>

#include "arguments.h"
#include "identify.h"
#include "library_session.h"
#include "quibra/quibra.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

constexpr int32_t kFirstNewerType = 33;
constexpr int32_t kLastNewerType = 38;

int Usage() {
  std::fprintf(stderr, "usage: quibra dump-memory --out FILE --port DEV [--link serial|usb|irda]\n");
  return 2;
}

}  // namespace

int DumpMemoryCommand(int argc, char** argv) {
  std::string out;
  std::string port;
  LinkKind link = LinkKind::Serial;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else if (arg == "--port" && i + 1 < argc) {
      port = argv[++i];
    } else if (arg == "--link" && i + 1 < argc) {
      if (!ParseLinkKind(argv[++i], link)) return Usage();
    } else {
      return Usage();
    }
  }
  if (out.empty() || (port.empty() && link == LinkKind::Serial)) return Usage();
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(port, link)) return 1;
  // Only the running and cycling units have a memory the dump can read; an older unit would
  // leave the dump waiting for answers that never come.
  const auto unit = AskIdentity();
  if (!unit || unit->type < kFirstNewerType || unit->type > kLastNewerType) {
    if (unit) {
      std::fprintf(stderr, "quibra: %s (monitor type %d) has no memory to dump\n",
                   unit->name.c_str(), unit->type);
    }
    fnQuibra_EndIRCommunication(0);
    return 1;
  }
  // The dump identifies the unit again and ends the link itself when that fails.
  const int32_t written = fnQuibra_SavePRVCFileMemory(0, out.c_str());
  fnQuibra_EndIRCommunication(0);
  if (written != 1) {
    std::fprintf(stderr, "quibra: the memory of the unit could not be read into %s\n", out.c_str());
    return 1;
  }
  std::printf("The unit's memory is in %s.\n", out.c_str());
  return 0;
}

}  // namespace quibra::cli

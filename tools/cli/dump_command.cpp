// quibra dump-memory: the whole memory of a running or cycling unit as a text file of
// hexadecimal lines, behind the library's progress dialog (a dialog for every page, drawn as
// one progress line).
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "commands.h"
#include "destination.h"
#include "failure.h"
#include "identify.h"
#include "library_session.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "stop_control.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

constexpr int32_t kFirstNewerType = 33;
constexpr int32_t kLastNewerType = 38;

struct Options {
  std::string out;
  Destination from;
};

int DumpMemory(const Options& o) {
  // The file is checked before the unit is asked: an existing file is not replaced (the dump
  // takes minutes; the user is told at once), and a folder that cannot take it is found now.
  std::error_code ignored;
  if (std::filesystem::exists(o.out, ignored)) {
    std::fprintf(stderr, "quibra: %s exists; remove it or choose another name\n", o.out.c_str());
    return kExitUsage;
  }
  const std::filesystem::path parent = std::filesystem::path(o.out).parent_path();
  if (const std::string problem = CheckWritableDirectory(parent.empty() ? "." : parent.string());
      !problem.empty()) {
    std::fprintf(stderr, "quibra: %s\n", problem.c_str());
    return kExitFailure;
  }
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.from.port, o.from.link)) return kExitFailure;
  // Only the running and cycling units have a memory the dump can read; an older unit would
  // leave the dump waiting for answers that never come.
  const auto unit = AskIdentity();
  if (!unit || unit->type < kFirstNewerType || unit->type > kLastNewerType) {
    if (unit) {
      std::fprintf(stderr, "quibra: %s (monitor type %d) has no memory to dump\n",
                   unit->name.c_str(), unit->type);
    }
    fnQuibra_EndIRCommunication(0);
    return kExitFailure;
  }
  OutputFile file(o.out);
  // The dump identifies the unit again and ends the link itself when that fails.
  const int32_t written = fnQuibra_SavePRVCFileMemory(0, file.partial().c_str());
  fnQuibra_EndIRCommunication(0);
  if (StopRequested()) return kExitFailure;
  std::string error;
  if (written != 1) {
    std::fprintf(stderr, "quibra: the memory of the unit could not be read into %s%s\n",
                 o.out.c_str(), LibraryErrorCause().c_str());
    return kExitFailure;
  }
  if (!file.Commit(false, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return kExitFailure;
  }
  std::printf("The unit's memory is in %s.\n", o.out.c_str());
  return 0;
}

}  // namespace

void AddDumpMemoryCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "dump-memory", "write a running or cycling unit's whole memory to a text file");
  sub->add_option("--out", o->out, "the file to write (not replaced when it exists)")
      ->option_text("FILE")
      ->required();
  AddDestinationOptions(sub, o->from, false);
  sub->callback([o, &run] {
    CheckDestination(o->from, false);
    run = [o] { return DumpMemory(*o); };
  });
}

}  // namespace quibra::cli

// quibra demo: a simulated type-22 unit on a pseudo-terminal, identified through the library and
// its exercises saved as HRM files.
#include <cstdio>
#include <string>

#include "commands.h"
#include "demo_unit.h"
#include "exercise_files.h"
#include "identify.h"
#include "library_session.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "stop_control.h"
#include "terminal_view.h"
#include "unit.h"

namespace quibra::cli {
namespace {

constexpr int32_t kDemoType = 22;
constexpr int32_t kDemoVariant = 3;
constexpr uint8_t kDemoProductCode = 19;
constexpr const char* kDemoDirectory = "quibra-demo";

int Demo() {
  sim::Unit unit(kDemoType, kDemoVariant);
  unit.set_exercise_memory(DemoExerciseMemory(kDemoType, kDemoProductCode, kDemoVariant));
  sim::SerialLink line(unit);
  const std::string path = line.start();
  if (path.empty()) {
    std::fprintf(stderr, "quibra: no pseudo-terminal for the simulated unit\n");
    return kExitFailure;
  }
  std::printf("A simulated wrist unit of type %d is on %s.\n", kDemoType, path.c_str());
  std::fflush(stdout);
  int status = kExitFailure;
  {
    LibrarySession library;
    TerminalView view;
    if (OpenLink(path, LinkKind::Serial)) {
      const auto found = AskIdentity();
      if (found) {
        std::printf("Found: ");
        PrintIdentity(*found);
        std::fflush(stdout);
      }
      const bool downloaded = found && DownloadExercises();
      fnQuibra_EndIRCommunication(0);
      int refused = 0;
      const auto saved = downloaded ? SaveExercises(kDemoDirectory, false, refused) : std::nullopt;
      if (saved && !saved->empty() && refused == 0) status = 0;
    }
  }
  line.stop();
  return status;
}

}  // namespace

void AddDemoCommand(CLI::App& app, CommandRun& run) {
  CLI::App* sub = app.add_subcommand(
      "demo", "identify a simulated type-22 unit and save its exercises to ./quibra-demo/");
  sub->callback([&run] { run = Demo; });
}

}  // namespace quibra::cli

// quibra: the command-line tool of the library. `quibra --help` lists the commands, `quibra
// COMMAND --help` the options of each.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "program.h"
#include "quibra/quibra.h"
#include "stop_control.h"

namespace quibra::cli {
namespace {

// The options of the tool itself that take a value: they may stand before the command.
bool TakesValue(const std::string& arg) {
  return arg == "--trace" || arg == "--timeout";
}

// The position of the command word when it is "sim", else 0. The simulator program reads its
// own options, so nothing after the word is parsed here.
int SimPosition(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (TakesValue(arg)) {
      ++i;
    } else if (arg.empty() || arg[0] != '-') {
      return arg == "sim" ? i : 0;
    }
  }
  return 0;
}

// CLI11 names unexpected arguments in one sentence; the tool says which are options.
std::string Reason(const CLI::ParseError& error) {
  std::string text = error.what();
  for (const char* lead : {"The following arguments were not expected: ",
                           "The following argument was not expected: "}) {
    if (text.rfind(lead, 0) == 0) {
      const std::string rest = text.substr(std::strlen(lead));
      return (rest.rfind('-', 0) == 0 ? "unknown option " : "unexpected argument ") + rest;
    }
  }
  return text;
}

int ReportParseError(CLI::App& app, const CLI::ParseError& error) {
  if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
  std::fprintf(stderr, "quibra: %s\n", Reason(error).c_str());
  std::fprintf(stderr, "Run quibra --help, or quibra COMMAND --help, for the usage.\n");
  return kExitUsage;
}

std::string VersionText() {
  return "quibra " QUIBRA_TOOL_VERSION " (library version " +
         std::to_string(fnQuibra_GetLibraryVersion()) + ")";
}

}  // namespace

GlobalOptions& Global() {
  static GlobalOptions options;
  return options;
}

}  // namespace quibra::cli

int main(int argc, char** argv) {
  using namespace quibra::cli;
  CLI::App app{
      "Talks to heart-rate-monitor wrist units through libquibra.\n"
      "Exit codes: 0 done, 1 failed, 2 wrong usage or refused, 124 --timeout expired, "
      "130 cancelled (Ctrl-C)."};
  app.name("quibra");
  app.require_subcommand(1);
  app.fallthrough();  // the global options may also follow the command
  app.set_version_flag("--version", VersionText());
  GlobalOptions& global = Global();
  app.add_option("--trace", global.trace,
                 "append every byte exchanged with the unit to FILE (for a bug report)")
      ->option_text("FILE");
  app.add_option("--timeout", global.timeout, "cancel the command after SECONDS (exit code 124)")
      ->option_text("SECONDS")
      ->check(CLI::Range(0.001, 1e6));
  CLI::Option* quiet = app.add_flag("-q,--quiet", global.quiet, "print only results and errors");
  app.add_flag("-v,--verbose", global.verbose, "log every status text of the library's dialogs")
      ->excludes(quiet);
  app.add_subcommand("sim", "put a simulated unit on a pseudo-terminal (quibra sim --help)");

  CommandRun run;
  AddDemoCommand(app, run);
  AddIdentifyCommand(app, run);
  AddListCommand(app, run);
  AddDownloadCommand(app, run);
  AddDecodeCommand(app, run);
  AddSettingsCommand(app, run);
  AddBikesCommand(app, run);
  AddTestsCommand(app, run);
  AddLogoCommand(app, run);
  AddDumpMemoryCommand(app, run);
  AddUnitCommand(app, run);
  AddSoundCommand(app, run);
  AddPortsCommand(app, run);
  AddMobileCommand(app, run);
  AddFitnessCommand(app, run);
  AddCountersCommand(app, run);
  AddLiveCommand(app, run);
  AddConvertCommand(app, run);
  AddShowCommand(app, run);
  AddPlotCommand(app, run);

  const int sim = SimPosition(argc, argv);
  try {
    app.parse(sim > 0 ? sim + 1 : argc, argv);
  } catch (const CLI::ParseError& error) {
    return ReportParseError(app, error);
  }
  if (!global.trace.empty() && fnQuibraExt_SetTrace(global.trace.c_str()) != 1) {
    std::fprintf(stderr, "quibra: cannot write the trace to %s: %s\n", global.trace.c_str(),
                 std::strerror(errno));
    return kExitFailure;
  }
  try {
    if (sim > 0) return quibra::sim::RunSimProgram("quibra sim", argc - sim - 1, argv + sim + 1);
    StartStopControl(global.timeout);
    const int status = run ? run() : kExitUsage;
    EndStopControl();
    return StopRequested() && !StopTakenAsEnd() ? ReportStop() : status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quibra: %s\n", error.what());
    return kExitFailure;
  }
}

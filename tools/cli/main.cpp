// quibra: the command-line tool of the library.
//
//   quibra --trace FILE COMMAND ...               the command, with every byte exchanged traced
//   quibra demo                                   a simulated unit, identified through the library
//   quibra identify --port DEV [--link serial|usb|irda]
//   quibra sim --type N [--variant V] [--paced|--irda]   a simulated unit on a pseudo-terminal
//   quibra settings get|set GROUP ...             a settings group as JSON
//   quibra bikes get|set ...                      the bike settings as JSON
//   quibra download --port DEV --out DIR          the unit's exercises as HRM files
//   quibra decode FILE.bin --out DIR              a saved exercise memory as HRM files
//   quibra logo send FILE.pbm|FILE.png --type N   a logo to a unit (or its upload sound)
//   quibra dump-memory --out FILE --port DEV      a running or cycling unit's memory as text
//   quibra command COMMAND --port DEV ...         a single command or service value
//   quibra sound unit|receive ...                 a unit's sound download, made or received
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "arguments.h"
#include "bikes_command.h"
#include "command_command.h"
#include "demo_unit.h"
#include "dump_command.h"
#include "exercise_files.h"
#include "identify.h"
#include "library_session.h"
#include "logo_command.h"
#include "program.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "settings_command.h"
#include "sound_command.h"
#include "terminal_view.h"
#include "unit.h"

namespace quibra::cli {
namespace {

constexpr int32_t kDemoType = 22;
constexpr int32_t kDemoVariant = 3;
constexpr uint8_t kDemoProductCode = 19;
constexpr const char* kDemoDirectory = "quibra-demo";

int Usage() {
  std::fprintf(
      stderr,
      "usage: quibra [--trace FILE] COMMAND ...  (the trace: every byte exchanged)\n"
      "       quibra demo\n"
      "       quibra identify --port DEV [--link serial|usb|irda]\n"
      "       quibra sim --type N [--variant V] [--paced | --irda]\n"
      "       quibra settings get|set GROUP ... (quibra settings for more)\n"
      "       quibra bikes get|set ... (quibra bikes for more)\n"
      "       quibra download --port DEV [--link serial|usb|irda] --out DIR\n"
      "       quibra decode FILE.bin --out DIR\n"
      "       quibra logo send FILE.pbm|FILE.png --type N ... (quibra logo for more)\n"
      "       quibra dump-memory --out FILE --port DEV [--link serial|usb|irda]\n"
      "       quibra command COMMAND --port DEV [--link serial|usb|irda] [--type T] (quibra "
      "command for more)\n"
      "       quibra sound unit|receive ... (quibra sound for more)\n");
  return 2;
}

void PrintIdentity(const UnitIdentity& unit) {
  std::printf("%s (monitor type %d, variant %d, product code %d)\n", unit.name.c_str(), unit.type,
              unit.variant, unit.product_code);
  std::printf("  %d exercise files, %d of %d bytes of memory free%s\n", unit.files,
              unit.free_memory, unit.total_memory, unit.low_battery ? ", battery low" : "");
}

int Identify(int argc, char** argv) {
  std::string port;
  LinkKind link = LinkKind::Serial;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--port" && i + 1 < argc) {
      port = argv[++i];
    } else if (arg == "--link" && i + 1 < argc) {
      if (!ParseLinkKind(argv[++i], link)) return Usage();
    } else {
      return Usage();
    }
  }
  if (port.empty() && link == LinkKind::Serial) return Usage();
  LibrarySession library;
  TerminalView view;
  const auto unit = IdentifyUnit(port, link);
  if (!unit) return 1;
  PrintIdentity(*unit);
  PrintMonitorInfo(stdout, unit->info);
  return 0;
}

int Demo() {
  sim::Unit unit(kDemoType, kDemoVariant);
  unit.set_exercise_memory(DemoExerciseMemory(kDemoType, kDemoProductCode, kDemoVariant));
  sim::SerialLink line(unit);
  const std::string path = line.start();
  if (path.empty()) {
    std::fprintf(stderr, "quibra: no pseudo-terminal for the simulated unit\n");
    return 1;
  }
  std::printf("A simulated wrist unit of type %d is on %s.\n", kDemoType, path.c_str());
  std::fflush(stdout);
  int status = 1;
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
      if (downloaded && SaveExercises(kDemoDirectory) > 0) status = 0;
    }
  }
  line.stop();
  return status;
}

}  // namespace
}  // namespace quibra::cli

int main(int argc, char** argv) {
  // --trace FILE before the command: every byte the command exchanges with the unit, for a bug
  // report. The library keeps the trace across the reset that ends the command.
  if (argc >= 3 && std::strcmp(argv[1], "--trace") == 0) {
    if (fnQuibraExt_SetTrace(argv[2]) != 1) {
      std::fprintf(stderr, "quibra: cannot write the trace to %s\n", argv[2]);
      return 1;
    }
    argc -= 2;
    argv += 2;
  }
  if (argc < 2) return quibra::cli::Usage();
  const std::string command = argv[1];
  try {
    if (command == "sim") return quibra::sim::RunSimProgram("quibra sim", argc - 2, argv + 2);
    quibra::cli::RouteInterruptToDialogs();
    if (command == "identify") return quibra::cli::Identify(argc - 2, argv + 2);
    if (command == "demo") return quibra::cli::Demo();
    if (command == "dump-memory") return quibra::cli::DumpMemoryCommand(argc - 2, argv + 2);
    if (command == "download" || command == "decode") {
      quibra::cli::LibrarySession library;
      return command == "download" ? quibra::cli::DownloadCommand(argc - 2, argv + 2)
                                   : quibra::cli::DecodeCommand(argc - 2, argv + 2);
    }
    if (command == "bikes") {
      quibra::cli::LibrarySession library;
      return quibra::cli::BikesCommand(argc - 2, argv + 2);
    }
    if (command == "logo") return quibra::cli::LogoCommand(argc - 2, argv + 2);
    if (command == "command") {
      quibra::cli::LibrarySession library;
      return quibra::cli::UnitCommand(argc - 2, argv + 2);
    }
    if (command == "sound") return quibra::cli::SoundCommand(argc - 2, argv + 2);
    if (command == "settings") {
      quibra::cli::LibrarySession library;
      return quibra::cli::SettingsCommand(argc - 2, argv + 2);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quibra: %s\n", error.what());
    return 1;
  }
  return quibra::cli::Usage();
}

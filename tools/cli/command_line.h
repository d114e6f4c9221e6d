// What every command of the tool shares on its command line: the global options, the exit codes,
// the way a command hands back the work it does once the whole line was read, and the options
// several commands take (numbers in a range, the link kind).
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <map>
#include <string>

#include "identify.h"

namespace quibra::cli {

// Exit codes: a failure of the unit, the link or a file; a command line the tool cannot run
// (also a refused confirmation); --timeout expired; Ctrl-C.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitTimedOut = 124;
inline constexpr int kExitCancelled = 130;
inline constexpr int kExitTerminated = 143;  // 128 + SIGTERM, as a shell reports it

struct GlobalOptions {
  bool quiet = false;    // no dialogs drawn and no progress, only results and errors
  bool verbose = false;  // every status text of every dialog, one a line
  double timeout = 0;    // seconds; 0: no bound
  std::string trace;
};

// The options read from the command line (set once, before the command runs).
GlobalOptions& Global();

// The work of the command chosen on the command line; runs after the whole line was read and
// returns the exit code.
using CommandRun = std::function<int()>;

// A combination of options that CLI11 cannot check by itself: reported like any usage error
// (exit 2, the reason on stderr). Thrown from a subcommand's callback, during parsing.
[[noreturn]] inline void UsageError(const std::string& reason) {
  throw CLI::ValidationError(reason);
}

// --link serial|usb|irda.
inline CLI::Option* AddLinkOption(CLI::App* app, LinkKind& link) {
  static const std::map<std::string, LinkKind> kKinds = {
      {"serial", LinkKind::Serial}, {"usb", LinkKind::Usb}, {"irda", LinkKind::Irda}};
  return app
      ->add_option_function<std::string>(
          "--link", [&link](const std::string& name) { link = kKinds.at(name); },
          "serial: an infrared adapter on a tty (the default); usb: the USB infrared adapter; "
          "irda: IrDA sockets")
      ->check(CLI::IsMember({"serial", "usb", "irda"}))
      ->option_text("serial|usb|irda");
}

}  // namespace quibra::cli

// quibra command: a single command or service value for a unit.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "commands.h"
#include "destination.h"
#include "exercise_files.h"
#include "identify.h"
#include "library_session.h"
#include "quibra/quibra.h"
#include "stop_control.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

struct Options {
  int value = 0;
  Destination to;
  int type = -1;  // ask the unit
  bool yes = false;
};

CommParams Infrared(int type) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.MonitorType = type;
  params.ShowDialog = 1;
  return params;
}

int32_t PrintUsageCounters() {
  if (fnQuibra_GetUsageCounters(0) != 1) return 0;
  for (int32_t i = 0; i < 13; ++i)
    std::printf("counter %2d: %d\n", i, fnQuibra_ReadUsageCounterValue(i));
  return 1;
}

// The commands by name: each runs over the open link for the unit type given. Service values
// are written without the factory defaults that the library's short forms add. A command that
// erases something on the unit asks first.
using Run = int32_t (*)(const Options&, int type);
struct Command {
  const char* name;
  const char* help;
  const char* value;   // what the value is, or null for a command without one
  int low, high;       // its range
  const char* erases;  // the question asked before, or null
  Run run;
};
constexpr Command kCommands[] = {
    {"watch-mode", "put the unit in watch mode", nullptr, 0, 0, nullptr,
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SendMonitorToWatchMode(&p);
     }},
    {"factory-defaults", "reset every setting of the unit", nullptr, 0, 0,
     "Reset every setting of the unit to its factory default?",
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SendFactoryDefaultCommand(&p);
     }},
    {"sleep", "put the unit to sleep", nullptr, 0, 0, nullptr,
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SetMonitorToSleepMode(&p);
     }},
    {"restore-memory", "restore the unit's memory", nullptr, 0, 0, nullptr,
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_RestoreEepromMemory(&p);
     }},
    {"display-off", "switch the unit's display off", nullptr, 0, 0, nullptr,
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SetDisplayOff(&p);
     }},
    {"hour-mode", "set the clock's form", "0: 24-hour, 1: 12-hour", 0, 1, nullptr,
     [](const Options& o, int type) {
       return fnQuibra_SetDefaultHourModeEx(1, o.value, 0, type, 0);
     }},
    {"time-correction", "write the time correction value", "the value", -1000000, 1000000, nullptr,
     [](const Options& o, int type) {
       return fnQuibra_SetTimeCorrectionValueEx(1, o.value, type, 0, 0);
     }},
    {"lcd-contrast", "set the display contrast", "the contrast, 1..14 (the library checks it)",
     -1000000, 1000000, nullptr,
     [](const Options& o, int type) { return fnQuibra_SetLCDContrastEx(1, o.value, type, 0); }},
    {"delete-file", "delete an exercise file on the unit", "the file number, -1: all files", -1,
     1000000, "Delete the exercise file(s) on the unit?",
     [](const Options& o, int type) {
       CommParams p = Infrared(type);
       // An older unit names a file from its downloaded memory: fetch it first.
       if (o.value >= 0 && (type < 33 || type > 38) && !DownloadExercises()) return 0;
       return fnQuibra_SendFileDeleteCommand(&p, o.value, 0, 0, 0);
     }},
    {"k65-alarm-off", "switch the limit alarm of a K65 off", nullptr, 0, 0, nullptr,
     [](const Options&, int) { return fnQuibra_SetK65LimitAlarmOff(); }},
    {"usage-counters", "print the unit's usage counters", nullptr, 0, 0, nullptr,
     [](const Options&, int) { return PrintUsageCounters(); }},
};

int RunCommand(const Command& command, const Options& o) {
  if (command.erases != nullptr && !Confirmed(command.erases, o.yes))
    return StopRequested() ? kExitFailure : kExitUsage;
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.to.port, o.to.link)) return kExitFailure;
  int type = o.type;
  if (type < 0) {
    const auto unit = AskIdentity();
    if (!unit) {
      fnQuibra_EndIRCommunication(0);
      return kExitFailure;
    }
    type = unit->type;
  }
  const int32_t result = StopRequested() ? 0 : command.run(o, type);
  fnQuibra_EndIRCommunication(0);
  if (StopRequested()) return kExitFailure;
  if (result != 1) {
    std::fprintf(stderr, "quibra: %s failed\n", command.name);
    return kExitFailure;
  }
  std::printf("%s: done\n", command.name);
  return 0;
}

}  // namespace

void AddUnitCommand(CLI::App& app, CommandRun& run) {
  CLI::App* group = app.add_subcommand("command", "send one command or service value to a unit");
  group->require_subcommand(1);
  for (const Command& command : kCommands) {
    auto o = std::make_shared<Options>();
    CLI::App* sub = group->add_subcommand(command.name, command.help);
    if (command.value != nullptr) {
      sub->add_option("value", o->value, command.value)
          ->required()
          ->check(CLI::Range(command.low, command.high));
    }
    AddDestinationOptions(sub, o->to, false);
    sub->add_option("--type", o->type,
                    "the unit's monitor type (asked from the unit when not given)")
        ->check(CLI::Range(0, 99));
    if (command.erases != nullptr) sub->add_flag("-y,--yes", o->yes, "do not ask before erasing");
    sub->callback([o, &command, &run] {
      CheckDestination(o->to, false);
      run = [o, &command] { return RunCommand(command, *o); };
    });
  }
}

}  // namespace quibra::cli

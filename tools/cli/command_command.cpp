#include "command_command.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "arguments.h"
#include "destination.h"
#include "exercise_files.h"
#include "identify.h"
#include "quibra/quibra.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: quibra command COMMAND --port DEV [--link serial|usb|irda] [--type T]\n"
               "  COMMAND: watch-mode, factory-defaults, sleep, restore-memory, display-off,\n"
               "           hour-mode M (0 24-hour, 1 12-hour), time-correction V,\n"
               "           lcd-contrast L (1..14), delete-file N (-1: all files),\n"
               "           k65-alarm-off, usage-counters\n"
               "  --type: the unit's monitor type (asked from the unit when not given)\n");
  return 2;
}

struct Options {
  std::string command;
  int value = 0;
  Destination to;
  int type = -1;  // ask the unit
};

bool TakesValue(const std::string& command) {
  return command == "hour-mode" || command == "time-correction" || command == "lcd-contrast" ||
         command == "delete-file";
}

bool Parse(int argc, char** argv, Options& o) {
  if (argc < 1) return false;
  o.command = argv[0];
  int i = 1;
  if (TakesValue(o.command) && (i >= argc || !ParseNumber(argv[i++], -1000000, 1000000, o.value)))
    return false;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--type") {
      if (!ParseNumber(value, 0, 99, o.type)) return false;
    } else if (!TakeDestination(arg, value, false, o.to)) {
      return false;
    }
  }
  return DestinationComplete(o.to, false);
}

CommParams Infrared(int type) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.MonitorType = type;
  params.ShowDialog = 1;
  return params;
}

int PrintUsageCounters() {
  if (fnQuibra_GetUsageCounters(0) != 1) return 0;
  for (int32_t i = 0; i < 13; ++i)
    std::printf("counter %2d: %d\n", i, fnQuibra_ReadUsageCounterValue(i));
  return 1;
}

// The commands by name: each runs over the open link for the unit type given. Service values
// are written without the factory defaults that the library's short forms add.
using Run = std::function<int32_t(const Options&, int type)>;
struct Command {
  const char* name;
  Run run;
};
const Command kCommands[] = {
    {"watch-mode",
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SendMonitorToWatchMode(&p);
     }},
    {"factory-defaults",
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SendFactoryDefaultCommand(&p);
     }},
    {"sleep",
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SetMonitorToSleepMode(&p);
     }},
    {"restore-memory",
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_RestoreEepromMemory(&p);
     }},
    {"display-off",
     [](const Options&, int type) {
       CommParams p = Infrared(type);
       return fnQuibra_SetDisplayOff(&p);
     }},
    {"hour-mode", [](const Options& o,
                     int type) { return fnQuibra_SetDefaultHourModeEx(1, o.value, 0, type, 0); }},
    {"time-correction",
     [](const Options& o, int type) {
       return fnQuibra_SetTimeCorrectionValueEx(1, o.value, type, 0, 0);
     }},
    {"lcd-contrast",
     [](const Options& o, int type) { return fnQuibra_SetLCDContrastEx(1, o.value, type, 0); }},
    {"delete-file",
     [](const Options& o, int type) {
       CommParams p = Infrared(type);
       // An older unit names a file from its downloaded memory: fetch it first.
       if (o.value >= 0 && (type < 33 || type > 38) && !DownloadExercises()) return 0;
       return fnQuibra_SendFileDeleteCommand(&p, o.value, 0, 0, 0);
     }},
    {"k65-alarm-off", [](const Options&, int) { return fnQuibra_SetK65LimitAlarmOff(); }},
    {"usage-counters", [](const Options&, int) { return PrintUsageCounters(); }},
};

}  // namespace

int UnitCommand(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) return Usage();
  const Command* command = nullptr;
  for (const Command& c : kCommands) {
    if (o.command == c.name) command = &c;
  }
  if (command == nullptr) return Usage();
  TerminalView view;
  if (!OpenLink(o.to.port, o.to.link)) return 1;
  int type = o.type;
  if (type < 0) {
    const auto unit = AskIdentity();
    if (!unit) {
      fnQuibra_EndIRCommunication(0);
      return 1;
    }
    type = unit->type;
  }
  const int32_t result = command->run(o, type);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: %s failed\n", o.command.c_str());
    return 1;
  }
  std::printf("%s: done\n", o.command.c_str());
  return 0;
}

}  // namespace quibra::cli

// quibra identify and quibra list: what a unit is and which exercises it holds, without changing
// or saving anything.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

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

using json = nlohmann::ordered_json;

// The running and cycling units keep each exercise as a file with a header of its own.
constexpr int32_t kFirstFileBasedType = 33;
constexpr int32_t kLastFileBasedType = 38;
constexpr uint32_t kDialogOwner = 1;

struct Options {
  Destination from;
  bool json = false;
};

json IdentityJson(const UnitIdentity& unit) {
  json info = json::object();
  for (const auto& [name, value] : MonitorInfoFields(unit.info))
    info[name] = value;
  return {{"Name", unit.name},
          {"MonitorType", unit.type},
          {"Variant", unit.variant},
          {"ProductCode", unit.product_code},
          {"Files", unit.files},
          {"FreeMemory", unit.free_memory},
          {"TotalMemory", unit.total_memory},
          {"LowBattery", unit.low_battery},
          {"MonitorInfo", info}};
}

int Identify(const Options& o) {
  LibrarySession library;
  TerminalView view;
  const auto unit = IdentifyUnit(o.from.port, o.from.link);
  if (!unit) return kExitFailure;
  if (o.json) {
    std::printf("%s\n", IdentityJson(*unit).dump(2).c_str());
    return 0;
  }
  PrintIdentity(*unit);
  PrintMonitorInfo(stdout, unit->info);
  return 0;
}

json ExerciseInfoJson(int32_t index, const ExeFileInfo& info) {
  return {{"Index", index},
          {"Name", info.Name},
          {"Date", DateText(info.StartDate)},
          {"Start", ClockText(info.StartTime)},
          {"DurationSeconds", info.Duration},
          {"IntervalSeconds", info.Interval},
          {"Speed", info.Speed != 0},
          {"Cadence", info.Cadence != 0},
          {"Altitude", info.Altitude != 0},
          {"Power", info.Power != 0}};
}

// The headers of the unit's exercises. A file-based unit is asked for the first bytes of each
// file; an older unit keeps no directory, so its exercise memory is transferred (and neither
// decoded nor saved) to read the headers from it. False when the unit did not answer in full.
bool ReadExerciseList(const UnitIdentity& unit, std::vector<ExeFileInfo>& list) {
  const bool file_based = unit.type >= kFirstFileBasedType && unit.type <= kLastFileBasedType;
  if (file_based) {
    for (int32_t n = 0; n < unit.files; ++n) {
      ExeFileInfo info{};
      if (StopRequested() || fnQuibra_GetExeFileInfoEx(kDialogOwner, n, &info) != 1) return false;
      list.push_back(info);
    }
    return true;
  }
  if (!DownloadExercises()) return false;
  ExeFileInfo info{};
  for (int32_t n = 0; fnQuibra_GetExeFileInfo(n, &info) == 1; ++n)
    list.push_back(info);
  return true;
}

int List(const Options& o) {
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.from.port, o.from.link)) return kExitFailure;
  const auto unit = AskIdentity();
  std::vector<ExeFileInfo> list;
  const bool read = unit && ReadExerciseList(*unit, list);
  fnQuibra_EndIRCommunication(0);
  if (!read) {
    if (unit && !StopRequested()) std::fprintf(stderr, "quibra: the exercise list was not read\n");
    return kExitFailure;
  }
  if (o.json) {
    json exercises = json::array();
    for (size_t i = 0; i < list.size(); ++i)
      exercises.push_back(ExerciseInfoJson(static_cast<int32_t>(i), list[i]));
    std::printf("%s\n",
                json{{"Unit", IdentityJson(*unit)}, {"Exercises", exercises}}.dump(2).c_str());
    return 0;
  }
  PrintIdentity(*unit);
  for (size_t i = 0; i < list.size(); ++i) {
    const ExeFileInfo& info = list[i];
    std::printf("%3zu  %s %s  %s  %-10s  every %d s\n", i, DateText(info.StartDate).c_str(),
                ClockText(info.StartTime).c_str(), ClockText(info.Duration).c_str(), info.Name,
                info.Interval);
  }
  if (list.empty()) std::printf("no exercises\n");
  return 0;
}

void AddReadOptions(CLI::App* sub, const std::shared_ptr<Options>& o) {
  AddDestinationOptions(sub, o->from, false);
  sub->add_flag("--json", o->json, "print JSON");
}

}  // namespace

void PrintIdentity(const UnitIdentity& unit) {
  std::printf("%s (monitor type %d, variant %d, product code %d)\n", unit.name.c_str(), unit.type,
              unit.variant, unit.product_code);
  std::printf("  %d exercise files, %d of %d bytes of memory free%s\n", unit.files,
              unit.free_memory, unit.total_memory, unit.low_battery ? ", battery low" : "");
}

void AddIdentifyCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand("identify", "ask a unit who it is");
  AddReadOptions(sub, o);
  sub->callback([o, &run] {
    CheckDestination(o->from, false);
    run = [o] { return Identify(*o); };
  });
}

void AddListCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub =
      app.add_subcommand("list",
                         "list a unit's exercises (date, start, duration, name) without "
                         "saving them");
  AddReadOptions(sub, o);
  sub->callback([o, &run] {
    CheckDestination(o->from, false);
    run = [o] { return List(*o); };
  });
}

}  // namespace quibra::cli

// quibra counters: the usage counters, weekly summaries and personal values that units of types
// 26, 30, 31 and 32 deliver with their exercise memory, from a saved memory (FILE.bin) or
// downloaded from the unit.
#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "destination.h"
#include "exercise_files.h"
#include "failure.h"
#include "identify.h"
#include "library_session.h"
#include "quibra/quibra.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

constexpr int32_t kNoValue = -1677216;
constexpr int32_t kWeekType = 30;  // the only type with weekly summaries
constexpr int32_t kDateSetting = 7003;

struct Options {
  std::string file;
  Destination from;
  int32_t type = 0;  // 0: the unit's own
  bool json = false;
};

// The memory into the library: from the file, or downloaded. The monitor type it came from, or
// 0 when it did not come.
int32_t LoadMemory(const Options& o) {
  if (!o.file.empty()) {
    CommParams params{};
    params.Size = QUIBRA_COMM_PARAMS_SIZE;
    if (o.file.size() >= sizeof params.FilePath) return 0;
    std::snprintf(params.FilePath, sizeof params.FilePath, "%s", o.file.c_str());
    if (fnQuibra_LoadExerciseBinFile(&params) != 1) {
      std::fprintf(stderr, "quibra: cannot read %s%s\n", o.file.c_str(),
                   LibraryErrorCause().c_str());
      return 0;
    }
    fnQuibra_RefreshMonitorInfo(0);
    return o.type;
  }
  if (!OpenLink(o.from.port, o.from.link)) return 0;
  const auto unit = AskIdentity();
  const bool read = unit && DownloadExercises();
  fnQuibra_EndIRCommunication(0);
  if (!read) return 0;
  return o.type != 0 ? o.type : unit->type;
}

int Run(const Options& o) {
  LibrarySession library;
  TerminalView view;
  const int32_t type = LoadMemory(o);
  if (type == 0) {
    if (!o.file.empty() && o.type == 0) std::fprintf(stderr, "quibra: name the unit with --type\n");
    return kExitFailure;
  }
  json counters = json::object();
  for (int32_t id = 5000; id <= 5011; ++id) {
    const int32_t value = fnQuibra_GetUsageCounter(type, id);
    if (value != kNoValue) counters[std::to_string(id)] = value;
  }
  json settings = json::object();
  for (int32_t id = 7001; id <= 7008; ++id) {
    const int32_t value = fnQuibra_GetUserSetting(type, id);
    if (value == kNoValue) continue;
    settings[std::to_string(id)] = id == kDateSetting ? json(DateText(value)) : json(value);
  }
  json weeks = json::array();
  const int32_t count = fnQuibra_GetWeekSummaryCount(type);
  for (int32_t w = 0; type == kWeekType && w < count; ++w) {
    json week = json::object();
    for (int32_t id = 6001; id <= 6009; ++id)
      week[std::to_string(id)] = fnQuibra_GetWeekSummaryValue(type, w, id);
    weeks.push_back(week);
  }
  const json all = {{"MonitorType", type},
                    {"UsageCounters", counters},
                    {"WeekSummaries", weeks},
                    {"UserSettings", settings}};
  if (o.json) {
    std::printf("%s\n", all.dump(2).c_str());
    return 0;
  }
  std::printf("monitor type %d\n", type);
  for (const auto& [id, value] : counters.items())
    std::printf("counter %s = %d\n", id.c_str(), value.get<int>());
  for (size_t w = 0; w < weeks.size(); ++w) {
    std::printf("week %zu:", w);
    for (const auto& [id, value] : weeks[w].items())
      std::printf(" %s=%d", id.c_str(), value.get<int>());
    std::printf("\n");
  }
  for (const auto& [id, value] : settings.items())
    std::printf("setting %s = %s\n", id.c_str(), value.dump().c_str());
  return 0;
}

}  // namespace

void AddCountersCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "counters", "show the usage counters, weekly summaries and personal values of a memory");
  sub->add_option("file", o->file, "a saved exercise memory")->option_text("FILE.bin");
  AddDestinationOptions(sub, o->from, false);
  sub->add_option("--type", o->type, "the monitor type the memory comes from (26, 30, 31, 32)");
  sub->add_flag("--json", o->json, "print JSON");
  sub->callback([o, &run] {
    if (o->file.empty()) CheckDestination(o->from, false);
    run = [o] { return Run(*o); };
  });
}

}  // namespace quibra::cli

// quibra fitness list|tests|program: what a J9 fitness unit holds (its exercise summaries, its
// fitness and relaxation test results, its training programme), as text or JSON.
#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "destination.h"
#include "exercise_files.h"
#include "identify.h"
#include "library_session.h"
#include "quibra/quibra.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

constexpr uint32_t kDialogOwner = 1;
constexpr int32_t kTestSlots = 47;  // fitness-test records the unit keeps
constexpr int32_t kProgrammeEntries = 7;
constexpr int32_t kNoValue = -1677216;

enum class What { kList, kTests, kProgram };

struct Options {
  Destination from;
  bool json = false;
};

CommParams Infrared() {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  params.ParentWindow = kDialogOwner;
  return params;
}

json Summaries(CommParams& params, bool& read) {
  json list = json::array();
  const int32_t files = fnQuibra_ReadJ9ExerciseFiles(&params);
  // No files and a failed read both give 0: the memory tells them apart (47 bytes when read).
  read = files > 0 || fnKx2GetNbrOfMemtrBytes() == 47;
  for (int32_t n = 0; n < files; ++n) {
    char name[9] = {};
    fnQuibra_GetFitnessExeName(name, n);
    if (fnQuibra_AnalyzeFile_Fitness(n) != 1) continue;
    list.push_back({{"Index", n},
                    {"Name", name},
                    {"Date", DateText(fnQuibra_GetRecParam(9))},
                    {"Start", ClockText(fnQuibra_GetRecParam(10) / 10)},
                    {"DurationSeconds", fnQuibra_GetRecParam(11) / 1000}});
  }
  return list;
}

json Tests(CommParams& params, bool& read) {
  json fitness = json::array();
  json relaxation = json::array();
  read = fnQuibra_ReadJ9TestResults(&params, 0) != 0;
  for (int32_t i = 0; read && i < kTestSlots; ++i) {
    const int32_t date = fnQuibra_GetFitnessTestDate(i);
    if (date > 0) {
      fitness.push_back({{"Date", DateText(date)}, {"Value", fnQuibra_GetFitnessTestValue(i)}});
    }
  }
  read = read && fnQuibra_ReadJ9TestResults(&params, 1) != 0;
  for (int32_t i = 0; read && fnQuibra_GetCalmGaugeTestDate(i) != 0; ++i) {
    relaxation.push_back({{"Date", DateText(fnQuibra_GetCalmGaugeTestDate(i))},
                          {"Value", fnQuibra_GetCalmGaugeTestValue(i)}});
  }
  return {{"FitnessTests", fitness}, {"RelaxationTests", relaxation}};
}

json Programme(CommParams& params, bool& read) {
  read = fnQuibra_ReadJ9Program(&params) != 0;
  if (!read) return json::object();
  FitnessProgramSummary s{};
  fnQuibra_GetProgramSummary(&s);
  json entries = json::array();
  for (int32_t n = 0; n < kProgrammeEntries; ++n) {
    FitnessProgramFile f{};
    fnQuibra_GetProgramFileInfo(n, &f);
    entries.push_back({{"Name", f.Name},
                       {"Values", {f.Value1, f.Value2, f.Value3, f.Value4, f.Value5}},
                       {"Last", f.Last}});
  }
  return {{"Values", {s.Value1, s.Value2, s.Byte158, s.Value159, s.Value161}},
          {"Factors", {s.FactorA, s.FactorB, s.FactorC}},
          {"Scaled", {s.ScaledA, s.ScaledB, s.ScaledC}},
          {"Running", s.RunState == kNoValue ? json(nullptr) : json(s.RunState == 1)},
          {"Entries", entries}};
}

void PrintText(What what, const json& data) {
  switch (what) {
    case What::kList:
      for (const auto& e : data) {
        std::printf("%3d  %s %s  %s  %s\n", e["Index"].get<int>(),
                    e["Date"].get<std::string>().c_str(), e["Start"].get<std::string>().c_str(),
                    ClockText(e["DurationSeconds"].get<int>()).c_str(),
                    e["Name"].get<std::string>().c_str());
      }
      if (data.empty()) std::printf("no exercises\n");
      break;
    case What::kTests:
      for (const char* kind : {"FitnessTests", "RelaxationTests"}) {
        std::printf("%s: %zu\n", kind, data[kind].size());
        for (const auto& t : data[kind])
          std::printf("  %s  %d\n", t["Date"].get<std::string>().c_str(), t["Value"].get<int>());
      }
      break;
    case What::kProgram:
      std::printf("%s\n", data.dump(2).c_str());
      break;
  }
}

int Run(What what, const Options& o) {
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.from.port, o.from.link)) return kExitFailure;
  CommParams params = Infrared();
  bool read = false;
  json data = what == What::kList    ? Summaries(params, read)
              : what == What::kTests ? Tests(params, read)
                                     : Programme(params, read);
  fnQuibra_EndIRCommunication(0);
  if (!read) {
    std::fprintf(stderr, "quibra: the unit's memory was not read\n");
    return kExitFailure;
  }
  if (o.json) {
    std::printf("%s\n", data.dump(2).c_str());
  } else {
    PrintText(what, data);
  }
  return 0;
}

}  // namespace

void AddFitnessCommand(CLI::App& app, CommandRun& run) {
  CLI::App* fitness = app.add_subcommand("fitness", "read what a J9 fitness unit holds");
  fitness->require_subcommand(1);
  const std::pair<const char*, What> kinds[] = {
      {"list", What::kList}, {"tests", What::kTests}, {"program", What::kProgram}};
  const char* help[] = {"the exercise summaries", "the fitness and relaxation test results",
                        "the training programme"};
  for (size_t i = 0; i < std::size(kinds); ++i) {
    auto o = std::make_shared<Options>();
    CLI::App* sub = fitness->add_subcommand(kinds[i].first, help[i]);
    AddDestinationOptions(sub, o->from, false);
    sub->add_flag("--json", o->json, "print JSON");
    const What what = kinds[i].second;
    sub->callback([o, what, &run] {
      CheckDestination(o->from, false);
      run = [o, what] { return Run(what, *o); };
    });
  }
}

}  // namespace quibra::cli

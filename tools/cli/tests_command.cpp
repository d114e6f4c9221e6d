// quibra tests get loadgauge|fitgauge: the fitness test results a unit stored, as JSON.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "destination.h"
#include "failure.h"
#include "identify.h"
#include "library_session.h"
#include "quibra/quibra.h"
#include "record_fields.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

struct Options {
  std::string test;
  Destination from;
};

// Every result the unit counted, each with whether it is a valid result. The library asks the
// unit again: a type 22 unit keeps results only from variant 3 on, and it knows which. A read
// that fails shows as no results.
std::optional<json> LoadGauge(int32_t type) {
  const int32_t count = fnQuibra_ReadLoadGaugeResults(0, 0, 0);
  json results = json::array();
  for (int32_t i = 0; i < count; ++i) {
    LoadGaugeResult result{};
    const bool valid = fnQuibra_GetLoadGaugeResult(i, type, &result) == 1;
    json entry = RecordToJson(kLoadGaugeResultRecord, &result);
    entry.erase("Size");
    entry["Valid"] = valid;
    results.push_back(entry);
  }
  return json{{"MonitorType", type}, {"LoadGaugeResults", results}};
}

std::optional<json> FitGauge(int32_t type) {
  FitGaugeResults record{};
  if (fnQuibra_ReadFitGaugeResults(0, &record, type) != 1) return std::nullopt;
  return json{{"MonitorType", type},
              {"FirstDate", record.FirstDate},
              {"FirstValue", record.FirstValue},
              {"SecondDate", record.SecondDate},
              {"SecondValue", record.SecondValue}};
}

int Get(const Options& o) {
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.from.port, o.from.link)) return kExitFailure;
  const std::optional<UnitIdentity> unit = AskIdentity();
  std::optional<json> results;
  const bool keeps = unit && (unit->type == 22 || (unit->type >= 33 && unit->type <= 38));
  if (keeps) results = o.test == "loadgauge" ? LoadGauge(unit->type) : FitGauge(unit->type);
  fnQuibra_EndIRCommunication(0);
  if (!unit) return kExitFailure;
  if (!keeps) {
    std::fprintf(stderr, "quibra: %s (monitor type %d) keeps no test results\n", unit->name.c_str(),
                 unit->type);
    return kExitFailure;
  }
  if (!results) {
    std::fprintf(stderr, "quibra: the unit has no %s result%s\n", o.test.c_str(),
                 LibraryErrorCause().c_str());
    return kExitFailure;
  }
  std::printf("%s\n", results->dump(2).c_str());
  return 0;
}

}  // namespace

void AddTestsCommand(CLI::App& app, CommandRun& run) {
  CLI::App* tests = app.add_subcommand("tests", "read the fitness test results a unit stored");
  tests->require_subcommand(1);
  auto o = std::make_shared<Options>();
  CLI::App* get = tests->add_subcommand("get", "print the LoadGauge or FitGauge results as JSON");
  get->add_option("test", o->test, "loadgauge or fitgauge")
      ->required()
      ->check(CLI::IsMember({"loadgauge", "fitgauge"}));
  AddDestinationOptions(get, o->from, false);
  get->callback([o, &run] {
    CheckDestination(o->from, false);
    run = [o] { return Get(*o); };
  });
}

}  // namespace quibra::cli

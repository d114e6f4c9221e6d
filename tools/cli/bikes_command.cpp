// quibra bikes get|set: the bike settings as JSON.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "change_on_unit.h"
#include "commands.h"
#include "destination.h"
#include "failure.h"
#include "identify.h"
#include "library_session.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "record_fields.h"
#include "stop_control.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

struct Options {
  bool write = false;
  std::string file;
  Destination to;
  bool from_defaults = false;
};

// The JSON object of the changes, checked against the record; nothing (and why on stderr) when
// the input is not a JSON object of the record's fields.
std::optional<json> LoadChanges(const Options& o) {
  std::string input;
  if (o.file.empty()) {
    input.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream file(o.file, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "quibra: cannot read %s\n", o.file.c_str());
      return std::nullopt;
    }
    input.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  const json object = json::parse(input, nullptr, false);
  if (object.is_discarded()) {
    std::fprintf(stderr, "quibra: the input is not JSON\n");
    return std::nullopt;
  }
  BikeSettings scratch{};
  if (const std::string error = RecordFromJson(kBikeSettingsRecord, object, &scratch);
      !error.empty()) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return std::nullopt;
  }
  return object;
}

bool StoreRecord(const Options& o, const BikeSettings& record) {
  const std::string text = RecordToJson(kBikeSettingsRecord, &record).dump(2) + "\n";
  if (o.file.empty()) {
    std::fputs(text.c_str(), stdout);
    return true;
  }
  OutputFile output(o.file);
  std::ofstream file(output.partial(), std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  std::string error = "cannot write " + o.file + ": " + std::strerror(errno);
  if (!file || !output.Commit(true, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return false;
  }
  return true;
}

int BySound(const Options& o, BikeSettings& record) {
  CommParams params;
  OutputFile sound(o.to.sound_file);
  Destination partial = o.to;
  partial.sound_file = sound.partial();
  if (!SoundFileParams(partial, params)) {
    std::fprintf(stderr, "quibra: the file name %s is too long\n", o.to.sound_file.c_str());
    return kExitUsage;
  }
  // Only the last sound remains in the file when the short layout goes twice.
  if (fnQuibra_SendBikesSettings(&params, &record) != 1) {
    std::fprintf(stderr, "quibra: the bike settings were refused%s\n", LibraryErrorCause().c_str());
    return kExitFailure;
  }
  std::string error;
  if (StopRequested()) return kExitFailure;
  if (!sound.Commit(true, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return kExitFailure;
  }
  std::printf("%s\n", o.to.sound_file.c_str());
  return 0;
}

int Bikes(const Options& o) {
  BikeSettings record{};
  fnQuibra_ResetBikeSettings(&record);
  std::optional<json> changes;
  if (o.write && !(changes = LoadChanges(o))) return kExitUsage;
  const auto apply = [&] { RecordFromJson(kBikeSettingsRecord, *changes, &record); };
  LibrarySession library;
  if (!o.to.sound_file.empty()) {
    apply();
    return BySound(o, record);
  }
  TerminalView view;
  if (!OpenLink(o.to.port, o.to.link)) return kExitFailure;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  const UnitChange change{o.write, o.from_defaults,
                          [&](CommParams* p) { return fnQuibra_ReadBikesSettings(p, &record); },
                          apply,
                          [&](CommParams* p) { return fnQuibra_SendBikesSettings(p, &record); }};
  if (!ChangeOnUnit(params, change, "bike settings")) return kExitFailure;
  return o.write || StoreRecord(o, record) ? 0 : kExitFailure;
}

void AddVerb(CLI::App* bikes, bool write, CommandRun& run) {
  auto o = std::make_shared<Options>();
  o->write = write;
  CLI::App* sub = bikes->add_subcommand(
      write ? "set" : "get",
      write ? "change the bike settings a JSON object names; the others keep the unit's values "
              "(LayoutType 32 selects the short layout)"
            : "print the bike settings as JSON");
  sub->add_option("--file", o->file,
                  write ? "read the JSON from FILE.json, not standard input"
                        : "write the JSON to FILE.json, not standard output")
      ->option_text("FILE.json");
  AddDestinationOptions(sub, o->to, write);
  if (write) {
    sub->add_flag("--from-defaults", o->from_defaults,
                  "start from the defaults instead of the unit's values");
  }
  sub->callback([o, &run] {
    CheckDestination(o->to, o->write);
    if (o->write && !o->to.sound_file.empty() && !o->from_defaults)
      UsageError("a sound cannot read the unit first: add --from-defaults");
    run = [o] { return Bikes(*o); };
  });
}

}  // namespace

void AddBikesCommand(CLI::App& app, CommandRun& run) {
  CLI::App* bikes = app.add_subcommand("bikes", "read or send the bike settings as JSON");
  bikes->require_subcommand(1);
  AddVerb(bikes, false, run);
  AddVerb(bikes, true, run);
}

}  // namespace quibra::cli

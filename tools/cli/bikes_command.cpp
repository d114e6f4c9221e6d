#include "bikes_command.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "arguments.h"
#include "destination.h"
#include "identify.h"
#include "quibra/quibra.h"
#include "record_fields.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

int Usage() {
  std::fprintf(stderr,
               "usage: quibra bikes get [--file FILE.json] --port DEV [--link serial|usb|irda]\n"
               "       quibra bikes set [--file FILE.json] (--port DEV [--link serial|usb|irda] | "
               "--sound FILE.wav)\n"
               "  get: the bike settings as JSON, on standard output or in FILE.json\n"
               "  set: the JSON object (standard input or FILE.json) names the fields to change\n"
               "       from the defaults; LayoutType 32 selects the short layout\n");
  return 2;
}

struct Options {
  bool write = false;
  std::string file;
  Destination to;
};

bool Parse(int argc, char** argv, Options& o) {
  if (argc < 1) return false;
  const std::string verb = argv[0];
  if (verb != "get" && verb != "set") return false;
  o.write = verb == "set";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--file") {
      o.file = value;
    } else if (!TakeDestination(arg, value, true, o.to)) {
      return false;
    }
  }
  return DestinationComplete(o.to, o.write);
}

// The defaults with the fields the JSON input names; false (and why on stderr) when the input
// is not a JSON object of the record's fields.
bool LoadRecord(const Options& o, BikeSettings& record) {
  std::string input;
  if (o.file.empty()) {
    input.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream file(o.file, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "quibra: cannot read %s\n", o.file.c_str());
      return false;
    }
    input.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  const json object = json::parse(input, nullptr, false);
  if (object.is_discarded()) {
    std::fprintf(stderr, "quibra: the input is not JSON\n");
    return false;
  }
  if (const std::string error = RecordFromJson(kBikeSettingsRecord, object, &record);
      !error.empty()) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return false;
  }
  return true;
}

bool StoreRecord(const Options& o, const BikeSettings& record) {
  const std::string text = RecordToJson(kBikeSettingsRecord, &record).dump(2) + "\n";
  if (o.file.empty()) {
    std::fputs(text.c_str(), stdout);
    return true;
  }
  std::ofstream file(o.file, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file) {
    std::fprintf(stderr, "quibra: cannot write %s\n", o.file.c_str());
    return false;
  }
  return true;
}

int BySound(const Options& o, BikeSettings& record) {
  CommParams params;
  if (!SoundFileParams(o.to, params)) return Usage();
  // Only the last sound remains in the file when the short layout goes twice.
  if (fnQuibra_SendBikesSettings(&params, &record) != 1) {
    std::fprintf(stderr, "quibra: the bike settings were refused\n");
    return 1;
  }
  std::printf("%s\n", o.to.sound_file.c_str());
  return 0;
}

}  // namespace

int BikesCommand(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) return Usage();
  BikeSettings record{};
  fnQuibra_ResetBikeSettings(&record);
  if (o.write && !LoadRecord(o, record)) return 2;
  if (!o.to.sound_file.empty()) return BySound(o, record);
  TerminalView view;
  if (!OpenLink(o.to.port, o.to.link)) return 1;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  const int32_t result = o.write ? fnQuibra_SendBikesSettings(&params, &record)
                                 : fnQuibra_ReadBikesSettings(&params, &record);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: the bike settings could not be %s\n", o.write ? "sent" : "read");
    return 1;
  }
  return o.write || StoreRecord(o, record) ? 0 : 1;
}

}  // namespace quibra::cli

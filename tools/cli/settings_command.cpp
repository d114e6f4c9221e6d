#include "settings_command.h"

#include <cstdio>
#include <cstdlib>
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
               "usage: quibra settings get GROUP --port DEV [--link serial|usb|irda] [--variant V]\n"
               "       quibra settings set GROUP (--port DEV [--link serial|usb|irda] | --sound "
               "FILE.wav) [--variant V] < JSON\n"
               "  GROUP: user, watch, profile N (1..7), limits, set N (1..5)\n"
               "  set: the JSON object names the fields to change from the defaults\n");
  return 2;
}

struct Options {
  bool write = false;
  std::string group;
  int number = 0;
  Destination to;
  int variant = 0;  // exercise-set layout
};

bool Parse(int argc, char** argv, Options& o) {
  if (argc < 2) return false;
  const std::string verb = argv[0];
  if (verb != "get" && verb != "set") return false;
  o.write = verb == "set";
  o.group = argv[1];
  int i = 2;
  if (o.group == "profile" || o.group == "set") {
    if (i >= argc || !ParseNumber(argv[i++], 1, o.group == "profile" ? 7 : 5, o.number))
      return false;
  } else if (o.group != "user" && o.group != "watch" && o.group != "limits") {
    return false;
  }
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--variant") {
      if (!ParseNumber(value, 0, 1, o.variant)) return false;
    } else if (!TakeDestination(arg, value, true, o.to)) {
      return false;
    }
  }
  return DestinationComplete(o.to, o.write);
}

// One settings group: its record, the defaults, and its read and send calls.
struct Group {
  const RecordInfo& info;
  void* record;
  void (*reset)(void* record, int number);
  int32_t (*read)(CommParams* params, int number, int variant, void* record);  // null: none
  int32_t (*send)(CommParams* params, int number, int variant, void* record);
};

int Transfer(const Options& o, const Group& g) {
  g.reset(g.record, o.number);
  if (o.write) {
    const std::string input((std::istreambuf_iterator<char>(std::cin)),
                            std::istreambuf_iterator<char>());
    const json object = json::parse(input, nullptr, false);
    if (object.is_discarded()) {
      std::fprintf(stderr, "quibra: the input is not JSON\n");
      return 2;
    }
    if (const std::string error = RecordFromJson(g.info, object, g.record); !error.empty()) {
      std::fprintf(stderr, "quibra: %s\n", error.c_str());
      return 2;
    }
  } else if (g.read == nullptr) {
    std::fprintf(stderr, "quibra: the unit cannot be asked for its %s\n", g.info.name);
    return 2;
  }
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (!o.to.sound_file.empty()) {
    if (!SoundFileParams(o.to, params)) return Usage();
    if (g.send(&params, o.number, o.variant, g.record) != 1) {
      std::fprintf(stderr, "quibra: the %s were refused\n", g.info.name);
      return 1;
    }
    std::printf("%s\n", o.to.sound_file.c_str());
    return 0;
  }
  if (!OpenLink(o.to.port, o.to.link)) return 1;
  params.LinkType = 1;
  params.ShowDialog = 1;
  const int32_t result = o.write ? g.send(&params, o.number, o.variant, g.record)
                                 : g.read(&params, o.number, o.variant, g.record);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: the %s could not be %s\n", g.info.name,
                 o.write ? "sent" : "read");
    return 1;
  }
  if (!o.write) std::printf("%s\n", RecordToJson(g.info, g.record).dump(2).c_str());
  return 0;
}

}  // namespace

int SettingsCommand(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) return Usage();
  TerminalView view;
  if (o.group == "user") {
    UserSettings r{};
    return Transfer(
        o, {kUserSettingsRecord, &r,
            [](void* p, int) { fnQuibra_ResetUserSettings(static_cast<UserSettings*>(p)); },
            [](CommParams* c, int, int, void* p) {
              return fnQuibra_ReadUserSettings(c, static_cast<UserSettings*>(p));
            },
            [](CommParams* c, int, int, void* p) {
              return fnQuibra_SendUserSettings(c, static_cast<UserSettings*>(p));
            }});
  }
  if (o.group == "watch") {
    WatchSettings r{};
    return Transfer(
        o, {kWatchSettingsRecord, &r,
            [](void* p, int) { fnQuibra_ResetWatchSettings(static_cast<WatchSettings*>(p)); },
            [](CommParams* c, int, int, void* p) {
              return fnQuibra_ReadWatchSettings(c, static_cast<WatchSettings*>(p));
            },
            [](CommParams* c, int, int, void* p) {
              return fnQuibra_SendWatchSettings(c, static_cast<WatchSettings*>(p));
            }});
  }
  if (o.group == "profile") {
    ExerciseProfile r{};
    return Transfer(o, {kExerciseProfileRecord, &r,
                        [](void* p, int n) {
                          fnQuibra_ResetExerciseProfile(n, static_cast<ExerciseProfile*>(p), 0);
                        },
                        [](CommParams* c, int n, int, void* p) {
                          return fnQuibra_ReadExerciseProfile(c, n,
                                                              static_cast<ExerciseProfile*>(p));
                        },
                        [](CommParams* c, int n, int, void* p) {
                          static_cast<ExerciseProfile*>(p)->ProfileNumber = n;
                          return fnQuibra_SendExerciseProfile(c, static_cast<ExerciseProfile*>(p));
                        }});
  }
  if (o.group == "limits") {
    ExerciseLimits r{};
    return Transfer(
        o, {kExerciseLimitsRecord, &r,
            [](void* p, int) { fnQuibra_ResetExerciseLimits(static_cast<ExerciseLimits*>(p)); },
            nullptr,
            [](CommParams* c, int, int, void* p) {
              return fnQuibra_SendExerciseLimits(c, static_cast<ExerciseLimits*>(p));
            }});
  }
  ExerciseSet r{};
  return Transfer(
      o, {kExerciseSetRecord, &r,
          [](void* p, int n) { fnQuibra_ResetExerciseSet(n, static_cast<ExerciseSet*>(p), 0, 0); },
          [](CommParams* c, int n, int v, void* p) {
            return fnQuibra_ReadExerciseSet(c, n, static_cast<ExerciseSet*>(p), v);
          },
          [](CommParams* c, int n, int v, void* p) {
            static_cast<ExerciseSet*>(p)->SetNumber = n;
            return fnQuibra_SendExerciseSet(c, static_cast<ExerciseSet*>(p), v);
          }});
}

}  // namespace quibra::cli

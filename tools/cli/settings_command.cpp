#include "settings_command.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "arguments.h"
#include "destination.h"
#include "identify.h"
#include "quibra/quibra.h"
#include "record_fields.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

template <typename Record>
Record* As(void* record) {
  return static_cast<Record*>(record);
}

// One settings group: its name on the command line, its record (by field table), how many
// numbered instances it has (the N of "profile N"; 0 for a group of one), and its reset, read
// and send calls. The calls take the number (1..count) and the exercise-set layout, which the
// groups that have none ignore.
struct Group {
  const char* name;
  const RecordInfo* record;
  int32_t count;
  void (*reset)(void* record, int32_t number);
  int32_t (*read)(CommParams* params, int32_t number, int32_t variant, void* record);  // or null
  int32_t (*send)(CommParams* params, int32_t number, int32_t variant, void* record);
};

constexpr Group kGroups[] = {
    {"user", &kUserSettingsRecord, 0,
     [](void* r, int32_t) { fnQuibra_ResetUserSettings(As<UserSettings>(r)); },
     [](CommParams* c, int32_t, int32_t, void* r) {
       return fnQuibra_ReadUserSettings(c, As<UserSettings>(r));
     },
     [](CommParams* c, int32_t, int32_t, void* r) {
       return fnQuibra_SendUserSettings(c, As<UserSettings>(r));
     }},
    {"watch", &kWatchSettingsRecord, 0,
     [](void* r, int32_t) { fnQuibra_ResetWatchSettings(As<WatchSettings>(r)); },
     [](CommParams* c, int32_t, int32_t, void* r) {
       return fnQuibra_ReadWatchSettings(c, As<WatchSettings>(r));
     },
     [](CommParams* c, int32_t, int32_t, void* r) {
       return fnQuibra_SendWatchSettings(c, As<WatchSettings>(r));
     }},
    {"profile", &kExerciseProfileRecord, 7,
     [](void* r, int32_t n) { fnQuibra_ResetExerciseProfile(n, As<ExerciseProfile>(r), 0); },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       return fnQuibra_ReadExerciseProfile(c, n, As<ExerciseProfile>(r));
     },
     [](CommParams* c, int32_t n, int32_t, void* r) {
       As<ExerciseProfile>(r)->ProfileNumber = n;
       return fnQuibra_SendExerciseProfile(c, As<ExerciseProfile>(r));
     }},
    // The unit cannot be asked for its limits: they go by sound only.
    {"limits", &kExerciseLimitsRecord, 0,
     [](void* r, int32_t) { fnQuibra_ResetExerciseLimits(As<ExerciseLimits>(r)); }, nullptr,
     [](CommParams* c, int32_t, int32_t, void* r) {
       return fnQuibra_SendExerciseLimits(c, As<ExerciseLimits>(r));
     }},
    {"set", &kExerciseSetRecord, 5,
     [](void* r, int32_t n) { fnQuibra_ResetExerciseSet(n, As<ExerciseSet>(r), 0, 0); },
     [](CommParams* c, int32_t n, int32_t v, void* r) {
       return fnQuibra_ReadExerciseSet(c, n, As<ExerciseSet>(r), v);
     },
     [](CommParams* c, int32_t n, int32_t v, void* r) {
       As<ExerciseSet>(r)->SetNumber = n;
       return fnQuibra_SendExerciseSet(c, As<ExerciseSet>(r), v);
     }},
};

const Group* FindGroup(const std::string& name) {
  for (const Group& g : kGroups) {
    if (name == g.name) return &g;
  }
  return nullptr;
}

int Usage() {
  std::string groups;
  for (const Group& g : kGroups) {
    if (!groups.empty()) groups += ", ";
    groups += g.name;
    if (g.count > 0) groups += " N (1.." + std::to_string(g.count) + ")";
  }
  std::fprintf(
      stderr,
      "usage: quibra settings get GROUP --port DEV [--link serial|usb|irda] [--variant V]\n"
      "       quibra settings set GROUP (--port DEV [--link serial|usb|irda] | --sound "
      "FILE.wav) [--variant V] < JSON\n"
      "  GROUP: %s\n"
      "  set: the JSON object names the fields to change from the defaults\n",
      groups.c_str());
  return 2;
}

struct Options {
  bool write = false;
  const Group* group = nullptr;
  int32_t number = 0;
  Destination to;
  int32_t variant = 0;  // exercise-set layout
};

bool Parse(int argc, char** argv, Options& o) {
  if (argc < 2) return false;
  const std::string verb = argv[0];
  if (verb != "get" && verb != "set") return false;
  o.write = verb == "set";
  o.group = FindGroup(argv[1]);
  if (o.group == nullptr) return false;
  int i = 2;
  if (o.group->count > 0 && (i >= argc || !ParseNumber(argv[i++], 1, o.group->count, o.number)))
    return false;
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

int Transfer(const Options& o) {
  const Group& g = *o.group;
  const RecordInfo& info = *g.record;
  // Room for the record, aligned for its 32-bit fields.
  std::vector<uint64_t> storage((info.size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  void* record = storage.data();
  g.reset(record, o.number);
  if (o.write) {
    const std::string input((std::istreambuf_iterator<char>(std::cin)),
                            std::istreambuf_iterator<char>());
    const json object = json::parse(input, nullptr, false);
    if (object.is_discarded()) {
      std::fprintf(stderr, "quibra: the input is not JSON\n");
      return 2;
    }
    if (const std::string error = RecordFromJson(info, object, record); !error.empty()) {
      std::fprintf(stderr, "quibra: %s\n", error.c_str());
      return 2;
    }
  } else if (g.read == nullptr) {
    std::fprintf(stderr, "quibra: the unit cannot be asked for its %s\n", info.name);
    return 2;
  }
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (!o.to.sound_file.empty()) {
    if (!SoundFileParams(o.to, params)) return Usage();
    if (g.send(&params, o.number, o.variant, record) != 1) {
      std::fprintf(stderr, "quibra: the %s were refused\n", info.name);
      return 1;
    }
    std::printf("%s\n", o.to.sound_file.c_str());
    return 0;
  }
  if (!OpenLink(o.to.port, o.to.link)) return 1;
  params.LinkType = 1;
  params.ShowDialog = 1;
  const int32_t result = o.write ? g.send(&params, o.number, o.variant, record)
                                 : g.read(&params, o.number, o.variant, record);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: the %s could not be %s\n", info.name, o.write ? "sent" : "read");
    return 1;
  }
  if (!o.write) std::printf("%s\n", RecordToJson(info, record).dump(2).c_str());
  return 0;
}

}  // namespace

int SettingsCommand(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) return Usage();
  TerminalView view;
  return Transfer(o);
}

}  // namespace quibra::cli

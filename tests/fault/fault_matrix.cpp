// The fault matrix: every kind of conversation the library has, run through the public exports
// against a simulated unit behind a seeded fault relay (the serial line, the IrDA air, the
// sound). Each trial must end in the result of the fault-free run or in a clean failure: the
// documented result and error code, the application's record or folder untouched, nothing on
// the unit but what it held before or what the fault-free run leaves there, and the library's
// threads and descriptors back to where they were.
//
//   fault_matrix --trials N --seed S [--kind K] [--regressions FILE] [--verbose 1]
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "fault_plan.h"
#include "fault_relay.h"
#include "fault_trials.h"
#include "frame/lifecycle.h"
#include "frame_reader.h"
#include "generated_exercises.h"
#include "irda_stack.h"
#include "pipcast_receiver.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "support/fault_port.h"
#include "unit.h"

namespace quibra::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using sim::Outcome;
using sim::Verdict;
using namespace std::chrono_literals;

enum class Link { Serial, Irda, Sound };

// What the application got from one conversation: the export's result, the last error code,
// and what it received (record bytes, downloaded memory, saved files), or on failure what it
// wrongly kept ("" when nothing).
struct Got {
  int32_t result = 0;
  std::string data;
};

struct Trial {
  sim::Unit& unit;
  fs::path folder;
  CommParams params;
};

template <typename Record>
std::string Text(const Record& r) {
  return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

// A settings read: the record comes back only on success; on failure it keeps its filling.
template <typename Record>
Got Read(const std::function<int32_t(CommParams*, Record*)>& read, Trial& t) {
  Record r;
  std::memset(&r, 0x5A, sizeof r);
  const Record untouched = r;
  Got got{read(&t.params, &r), {}};
  got.data = got.result == 1 ? Text(r) : Text(r) == Text(untouched) ? "" : "record filled";
  return got;
}

template <typename Record>
Got Write(const std::function<void(Record*)>& reset,
          const std::function<int32_t(CommParams*, Record*)>& send, Trial& t) {
  Record r{};
  reset(&r);
  return {send(&t.params, &r), {}};
}

// The exercise memory as the library holds it.
std::string Downloaded() {
  std::string bytes;
  for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
    bytes.push_back(static_cast<char>(fnKx2GetMemtrData(p)));
  return bytes;
}

// A download: on success each exercise decoded and saved as an HRM file; on failure nothing
// kept to decode and nothing in the folder.
Got Download(int32_t result, int32_t exercises, Trial& t) {
  Got got{result, {}};
  if (result != 1) {
    const bool empty = fs::is_empty(t.folder) && fnKx2GetNbrOfMemtrBytes() == 0;
    got.data = empty ? "" : "partial memory kept";
    return got;
  }
  got.data = Downloaded();
  for (int32_t n = 0; n < exercises; ++n) {
    char path[260] = {};
    std::snprintf(path, sizeof path, "%s/%d.hrm", t.folder.c_str(), n);
    if (fnQuibra_AnalyzeFile(n, 0) != 1 || fnQuibra_SaveExerciseHRM(0, path, 0) != 1) {
      got.data += "|no hrm " + std::to_string(n);
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    got.data += "|" + std::string(std::istreambuf_iterator<char>(in), {});
  }
  return got;
}

struct Kind {
  const char* name;
  int32_t type;
  Link link;
  std::function<Got(Trial&)> run;
  // The results a clean failure gives (0 for the settings exports, with error code -1).
  std::vector<int32_t> failure_results = {0};
  // The unit does not answer (sound, commands without answer): the library cannot know whether
  // it was heard, so a message lost on the way is a clean failure despite the result.
  bool one_way = false;
  // Before the trial: what the unit holds.
  std::function<void(sim::Unit&)> prepare = nullptr;
  // The error code a failure leaves: -1 for the reads and the exports that set it before they
  // start, else the one before the call (0 in a fresh library).
  int32_t failure_error = -1;
};

// Fills every image a read may fetch with a pattern, so that a read brings something back.
void FillImages(sim::Unit& unit) {
  for (auto [id, param] : {std::pair{9006, 0}, {9002, 0}, {9018, 3}, {9069, 2}, {9020, 0}}) {
    Bytes image = unit.image(id, param);
    for (size_t i = 1; i < image.size(); ++i)
      image[i] = static_cast<uint8_t>((i * 7 + 3) % 10);
    unit.set_image(id, param, image);
  }
}

// The older unit's exercise memory, three generated exercises.
void LoadExercises(sim::Unit& unit) {
  unit.set_exercise_memory(*sim::GeneratedExerciseMemory(22, unit.product_code(), 3, 3));
}

// Two files of a newer unit: a header of its own type, then a pattern over several packets.
void LoadFiles(sim::Unit& unit) {
  Bytes file(2 * sim::Unit::kPacketData + 77);
  for (size_t i = 0; i < file.size(); ++i)
    file[i] = static_cast<uint8_t>(i * 13 + 5);
  file[2] = static_cast<uint8_t>(unit.product_code());
  unit.set_exercise_files({Bytes(300, 1), file});
}

std::array<int32_t, 64> LogoColumns() {
  std::array<int32_t, 64> c{};
  for (size_t i = 0; i < 47; ++i)
    c[i] = static_cast<int32_t>((i * 37 + 11) & 0xFF);
  return c;
}

const std::vector<Kind>& Kinds() {
  using P = CommParams;
  static const std::vector<Kind> kinds = {
      {"identify", 22, Link::Serial,
       [](Trial& t) { return Read<MonitorInfo>(fnQuibra_ReadMonitorInfo, t); }},
      {"identify-irda",
       36,
       Link::Irda,
       [](Trial& t) { return Read<MonitorInfo>(fnQuibra_ReadMonitorInfo, t); },
       {0},
       false,
       LoadFiles},
      {"user-read",
       22,
       Link::Serial,
       [](Trial& t) { return Read<UserSettings>(fnQuibra_ReadUserSettings, t); },
       {0},
       false,
       FillImages},
      {"user-write",
       22,
       Link::Serial,
       [](Trial& t) {
         return Write<UserSettings>([](UserSettings* r) { fnQuibra_ResetUserSettings(r); },
                                    fnQuibra_SendUserSettings, t);
       },
       {0},
       false,
       nullptr,
       0},
      {"watch-read",
       22,
       Link::Serial,
       [](Trial& t) { return Read<WatchSettings>(fnQuibra_ReadWatchSettings, t); },
       {0},
       false,
       FillImages},
      {"watch-write", 22, Link::Serial,
       [](Trial& t) {
         return Write<WatchSettings>([](WatchSettings* r) { fnQuibra_ResetWatchSettings(r); },
                                     fnQuibra_SendWatchSettings, t);
       }},
      {"profile-read",
       13,
       Link::Serial,
       [](Trial& t) {
         return Read<ExerciseProfile>(
             [](P* p, ExerciseProfile* r) { return fnQuibra_ReadExerciseProfile(p, 3, r); }, t);
       },
       {0},
       false,
       FillImages},
      {"profile-write",
       13,
       Link::Serial,
       [](Trial& t) {
         return Write<ExerciseProfile>(
             [](ExerciseProfile* r) { fnQuibra_ResetExerciseProfile(3, r, 0); },
             fnQuibra_SendExerciseProfile, t);
       },
       {0},
       false,
       nullptr,
       0},
      {"set-read",
       22,
       Link::Serial,
       [](Trial& t) {
         return Read<ExerciseSet>(
             [](P* p, ExerciseSet* r) { return fnQuibra_ReadExerciseSet(p, 2, r, 1); }, t);
       },
       {0},
       false,
       FillImages},
      {"set-write",
       22,
       Link::Serial,
       [](Trial& t) {
         return Write<ExerciseSet>(
             [](ExerciseSet* r) { fnQuibra_ResetExerciseSet(2, r, 1, 0); },
             [](P* p, ExerciseSet* r) { return fnQuibra_SendExerciseSet(p, r, 1); }, t);
       },
       {0},
       false,
       nullptr,
       0},
      {"bikes-read",
       22,
       Link::Serial,
       [](Trial& t) { return Read<BikeSettings>(fnQuibra_ReadBikesSettings, t); },
       {0},
       false,
       FillImages},
      {"bikes-write",
       22,
       Link::Serial,
       [](Trial& t) {
         return Write<BikeSettings>([](BikeSettings* r) { fnQuibra_ResetBikeSettings(r); },
                                    fnQuibra_SendBikesSettings, t);
       },
       {0},
       false,
       nullptr,
       0},
      {"logo-write",
       22,
       Link::Serial,
       [](Trial& t) {
         const auto c = LogoColumns();
         return Got{fnQuibra_SendMonitorLogo(&t.params, 22, c.data(), 0), {}};
       },
       {0},
       false,
       nullptr,
       0},
      {"logo-read",
       22,
       Link::Serial,
       [](Trial& t) {
         const auto fill = [](P* p, std::array<int32_t, 64>* c) {
           return fnQuibra_ReadMonitorLogo(p, 22, c->data(), 0);
         };
         return Read<std::array<int32_t, 64>>(fill, t);
       },
       {0},
       false,
       [](sim::Unit& u) {
         Bytes image = u.image(9016, 0);
         for (size_t i = 1; i < image.size(); ++i)
           image[i] = static_cast<uint8_t>(i * 29);
         u.set_image(9016, 0, image);
       }},
      {"logo-read-irda",
       36,
       Link::Irda,
       [](Trial& t) {
         const auto fill = [](P* p, std::array<int32_t, 64>* c) {
           p->MonitorType = 36;
           return fnQuibra_PRVC_ReadBitmap(p, c->data(), 1);
         };
         return Read<std::array<int32_t, 64>>(fill, t);
       },
       {0},
       false,
       [](sim::Unit& u) {
         Bytes pattern(4096);
         for (size_t i = 0; i < pattern.size(); ++i)
           pattern[i] = static_cast<uint8_t>(i * 11);
         u.set_memory(0, pattern);
       }},
      {"command-contrast",
       21,
       Link::Serial,
       [](Trial&) {
         return Got{fnQuibra_SetLCDContrastEx(1, 9, 21, 0), {}};
       },
       {0},
       false,
       nullptr,
       0},
      {"command-watch-mode",
       22,
       Link::Serial,
       [](Trial& t) {
         return Got{fnQuibra_SendMonitorToWatchMode(&t.params), {}};
       },
       {0},
       true},
      {"exercise-download",
       22,
       Link::Serial,
       [](Trial& t) { return Download(fnQuibra_ReadExercisesData(0, 0), 3, t); },
       {2, 3},
       false,
       LoadExercises},
      {"file-download",
       37,
       Link::Serial,
       [](Trial& t) { return Download(fnQuibra_ReadExerciseFile(0, 1, 0), 0, t); },
       {2, 3},
       false,
       LoadFiles},
      {"user-sound",
       22,
       Link::Sound,
       [](Trial& t) {
         return Write<UserSettings>([](UserSettings* r) { fnQuibra_ResetUserSettings(r); },
                                    fnQuibra_SendUserSettings, t);
       },
       {0},
       true},
      {"limits-sound",
       12,
       Link::Sound,
       [](Trial& t) {
         return Write<ExerciseLimits>([](ExerciseLimits* r) { fnQuibra_ResetExerciseLimits(r); },
                                      fnQuibra_SendExerciseLimits, t);
       },
       {0},
       true},
  };
  return kinds;
}

// Everything the unit keeps that a conversation of the matrix may change.
std::string UnitState(const sim::Unit& unit) {
  std::string state;
  for (int32_t id : {9001, 9005, 9015, 9017, 9019, 9037, 9068, 9003}) {
    for (int32_t param = 0; param <= 7; ++param) {
      const Bytes image = unit.image(id, param);
      state.append(image.begin(), image.end());
    }
  }
  const Bytes memory = unit.memory(0, 4096);
  return state.append(memory.begin(), memory.end());
}

// The unit's ear: the sound the library plays reaches it through the fault plan's dropouts and
// noise, and the unit takes whatever request it makes out in it, as it would from its line.
class UnitEar final : public platform::SoundOutput {
 public:
  UnitEar(sim::Unit& unit, sim::FaultPlan* plan) : unit_(unit), plan_(plan) {}
  bool play_wave_file(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    Bytes wave(std::istreambuf_iterator<char>(in), {});
    if (plan_ != nullptr) plan_->disturb_wave(wave);
    sim::FrameReader reader;
    for (uint8_t byte : sim::ListenToPipcast(wave).value_or(Bytes{})) {
      if (auto request = reader.feed(byte)) unit_.handle(*request);
    }
    return true;
  }

 private:
  sim::Unit& unit_;
  sim::FaultPlan* plan_;
};

struct Outcome3 {
  Got got;
  std::string unit_before;
  std::string unit_after;
  std::string leak;
};

// Runs one conversation of the kind, with the plan's faults or (plan null) none.
Outcome3 Converse(const Kind& kind, sim::FaultPlan* plan, const fs::path& folder) {
  platform::ScaledClock clock{0.01};
  platform::LocalDateTime today;
  today.year = 2024, today.month = 5, today.day = 17, today.hour = 10, today.minute = 20;
  clock.fix_local_time(today);
  platform::set_clock(&clock);
  frame::LoadModule();
  FaultPort port;
  port.keep_output_on_purge = true;  // see sim_unit_fixture.h
  platform::set_byte_port(&port);
  // Counted before the simulator's own threads and lines start and after they end.
  const sim::ProcessResources before = sim::ProcessResources::Now();

  sim::Unit unit(kind.type, 3);
  if (kind.prepare) kind.prepare(unit);
  sim::FaultPlan quiet(0, 1 << 30, 0ms, false);
  sim::FaultPlan& faults = plan != nullptr ? *plan : quiet;
  sim::SerialLink link(unit, false, 10ms);
  sim::SerialFaultRelay relay(faults, unit, link.start());
  sim::IrdaStack stack;
  UnitEar ear(unit, plan);
  Trial t{unit, folder, {}};
  t.params.Size = QUIBRA_COMM_PARAMS_SIZE;
  t.params.LinkType = kind.link == Link::Sound ? 0 : 1;
  std::string port_path;
  if (kind.link == Link::Serial) {
    port_path = relay.start();
  } else if (kind.link == Link::Irda) {
    stack.add_unit(unit);
    stack.set_air_faults([&faults](sim::IrdaStack::Air) {
      switch (faults.on_air()) {
        case sim::LineFault::Flip:
          return sim::IrdaStack::AirFault::FlipBit;
        case sim::LineFault::Drop:
          return sim::IrdaStack::AirFault::LoseFrame;
        case sim::LineFault::Close:
          return sim::IrdaStack::AirFault::LoseLink;
        default:
          return sim::IrdaStack::AirFault::None;
      }
    });
    fnQuibraExt_SetIrdaStack(&stack.table());
  } else {
    std::snprintf(t.params.FilePath, sizeof t.params.FilePath, "%s/upload.wav", folder.c_str());
    platform::set_sound_output(&ear);
  }

  Outcome3 out;
  out.unit_before = UnitState(unit);
  if (kind.link == Link::Serial) fnQuibra_StartIRCommunication(0, port_path.c_str());
  if (kind.link == Link::Irda) fnQuibra_StartIRCommunication(0x20, "IRDA");
  out.got = kind.run(t);
  if (out.got.result != 1) out.got.data += "|error " + std::to_string(fnQuibra_GetErrorCode());
  fnQuibra_EndIRCommunication(0);
  // A message may still be on its way to the unit when the export returns.
  std::this_thread::sleep_for(20ms);
  relay.stop();
  link.stop();
  out.unit_after = UnitState(unit);
  sim::ProcessResources after = sim::ProcessResources::Now();
  for (int i = 0; i < 300 && !(after == before); ++i) {
    std::this_thread::sleep_for(10ms);
    after = sim::ProcessResources::Now();
  }
  if (!(after == before)) {
    out.leak = "threads " + std::to_string(before.threads) + "->" + std::to_string(after.threads) +
               ", descriptors " + std::to_string(before.descriptors) + "->" +
               std::to_string(after.descriptors);
  }
  frame::UnloadModule();
  fnQuibraExt_SetIrdaStack(nullptr);
  platform::set_sound_output(nullptr);
  platform::set_byte_port(nullptr);
  platform::set_clock(nullptr);
  return out;
}

// Results are compared by digest: they travel between processes and may be long.
std::string Digest(const std::string& bytes) {
  char text[20];
  std::snprintf(text, sizeof text, "%016zx", std::hash<std::string>{}(bytes));
  return text;
}

uint32_t TrialSeed(uint32_t seed, int trial) {
  std::seed_seq mix{seed, static_cast<uint32_t>(trial)};
  uint32_t out = 0;
  mix.generate(&out, &out + 1);
  return out;
}

// The trial's verdict against the fault-free run of its kind.
Verdict Judge(const Kind& kind, const Outcome3& clean, const Outcome3& o, const std::string& log) {
  const auto wrong = [&](const std::string& why) {
    return Verdict{Outcome::Wrong, why + "; " + log};
  };
  if (!o.leak.empty()) return wrong("leak: " + o.leak);
  const bool unit_as_before = o.unit_after == o.unit_before;
  const bool unit_as_clean = Digest(o.unit_after) == clean.unit_after;
  if (o.got.result == 1) {
    if (Digest(o.got.data) != clean.got.data) return wrong("accepted data differs");
    if (unit_as_clean) return {Outcome::Correct, log};
    if (kind.one_way && unit_as_before) return {Outcome::CleanFailure, log};
    return wrong("success reported, unit holds other data");
  }
  const std::string documented = "|error " + std::to_string(kind.failure_error);
  const bool result_ok = std::find(kind.failure_results.begin(), kind.failure_results.end(),
                                   o.got.result) != kind.failure_results.end();
  if (!result_ok) return wrong("failure result " + std::to_string(o.got.result));
  if (o.got.result == 0 && o.got.data != documented) return wrong("on failure: " + o.got.data);
  if (o.got.result != 0 && o.got.data.find("partial") != std::string::npos)
    return wrong("on failure: " + o.got.data);
  if (!unit_as_before && !unit_as_clean) return wrong("half-written unit");
  return {Outcome::CleanFailure, log};
}

fs::path Folder(uint32_t seed) {
  fs::path folder = fs::temp_directory_path() /
                    ("quibra-fault-" + std::to_string(getpid()) + "-" + std::to_string(seed));
  fs::create_directories(folder);
  return folder;
}

// The fault-free run of a kind, in a child of its own.
std::optional<Outcome3> CleanRun(const Kind& kind) {
  Outcome3 clean;
  const Verdict v = sim::RunForked(
      [&] {
        const fs::path folder = Folder(0);
        const Outcome3 o = Converse(kind, nullptr, folder);
        fs::remove_all(folder);
        const bool ok = o.got.result == 1 && o.leak.empty();
        const std::string text = Digest(o.got.data) + Digest(o.unit_after);
        return Verdict{ok ? Outcome::Correct : Outcome::Wrong, ok ? text : o.got.data + o.leak};
      },
      60s);
  if (v.outcome != Outcome::Correct) {
    std::fprintf(stderr, "%s: the fault-free run fails (%s)\n", kind.name, v.detail.c_str());
    return std::nullopt;
  }
  clean.got = {1, v.detail.substr(0, 16)};
  clean.unit_after = v.detail.substr(16);
  return clean;
}

int Main(int argc, char** argv) {
  int trials = 100;
  uint32_t seed = 1;
  std::string only;
  bool verbose = false;
  std::vector<std::pair<std::string, uint32_t>> regressions;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--trials")
      trials = std::atoi(argv[i + 1]);
    else if (option == "--seed")
      seed = static_cast<uint32_t>(std::stoul(argv[i + 1]));
    else if (option == "--kind")
      only = argv[i + 1];
    else if (option == "--verbose")
      verbose = std::string(argv[i + 1]) == "1";
    else if (option == "--regressions") {
      // One trial a line: the kind and the seed; lines starting with # tell why.
      std::ifstream in(argv[i + 1]);
      for (std::string line; std::getline(in, line);) {
        char kind[64] = {};
        unsigned s = 0;
        if (line.empty() || line[0] == '#' || std::sscanf(line.c_str(), "%63s %u", kind, &s) != 2)
          continue;
        regressions.emplace_back(kind, s);
      }
    } else {
      std::fprintf(
          stderr,
          "usage: fault_matrix --trials N --seed S [--kind K] [--regressions F] [--verbose 1]\n");
      return 2;
    }
  }
  std::vector<const Kind*> kinds;
  for (const Kind& k : Kinds()) {
    if (only.empty() || only == k.name) kinds.push_back(&k);
  }
  if (kinds.empty()) return 2;
  std::vector<std::pair<const Kind*, uint32_t>> plan;
  for (const auto& [name, s] : regressions) {
    for (const Kind& k : Kinds()) {
      if (name == k.name) plan.emplace_back(&k, s);
    }
  }
  for (int i = 0; i < trials; ++i)
    plan.emplace_back(kinds[static_cast<size_t>(i) % kinds.size()], TrialSeed(seed, i));

  std::map<const Kind*, std::optional<Outcome3>> clean_runs;
  sim::OutcomeTable table;
  for (const auto& [kind, trial_seed] : plan) {
    auto& clean = clean_runs[kind];
    if (!clean) clean = CleanRun(*kind);
    if (!clean) {
      table.add(kind->name, Outcome::Wrong);
      continue;
    }
    const Verdict v = sim::RunForked(
        [&, kind = kind, trial_seed = trial_seed] {
          const fs::path folder = Folder(trial_seed);
          // From a line that strikes every other chunk to one that strikes one in twelve.
          std::mt19937 pick(trial_seed);
          sim::FaultPlan faults(trial_seed, 2 + static_cast<int>(pick() % 11), 80ms);
          const Outcome3 o = Converse(*kind, &faults, folder);
          fs::remove_all(folder);
          return Judge(*kind, *clean, o, faults.log());
        },
        30s);
    table.add(kind->name, v.outcome);
    if (verbose || (v.outcome != Outcome::Correct && v.outcome != Outcome::CleanFailure)) {
      std::printf("%s %u: %s (%s)\n", kind->name, trial_seed, sim::OutcomeName(v.outcome),
                  v.detail.c_str());
    }
  }
  table.print(stdout);
  return table.clean() ? 0 : 1;
}

}  // namespace
}  // namespace quibra::testing

int main(int argc, char** argv) {
  return quibra::testing::Main(argc, argv);
}

#include "fault_bench.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <thread>

#include <unistd.h>

#include "fault_trials.h"
#include "frame_reader.h"
#include "pipcast_receiver.h"

namespace quibra::sim {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The unit's line turns around fast: the library's pauses run at a hundredth of their length.
constexpr auto kTurnaround = 10ms;
// A delay on the line lasts up to the library's answer wait at that scale (about 150 ms), and
// beyond: an answer may come after the library has asked again.
constexpr auto kLongestDelay = 200ms;
constexpr auto kTrialLimit = 30s;

// The images a conversation of the matrix may write, and the raw memory (its start on the
// newer units, whose memory is larger).
constexpr int32_t kWrittenAreas[] = {9001, 9003, 9005, 9015, 9017, 9019, 9037, 9068};
constexpr int32_t kMemoryChecked = 4096;

std::string UnitState(const Unit& unit) {
  std::string state;
  for (int32_t id : kWrittenAreas) {
    for (int32_t param = 0; param <= 7; ++param) {
      const std::vector<uint8_t> image = unit.image(id, param);
      state.append(image.begin(), image.end());
    }
  }
  const std::vector<uint8_t> memory = unit.memory(0, std::min(kMemoryChecked, unit.memory_size()));
  return state.append(memory.begin(), memory.end());
}

// Results are compared by digest: they travel between processes and may be long.
std::string Digest(const std::string& bytes) {
  char text[20];
  std::snprintf(text, sizeof text, "%016zx", std::hash<std::string>{}(bytes));
  return text;
}

struct Observed {
  Got got;
  std::string unit_before;
  std::string unit_after;
  std::string leak;  // threads or descriptors not back where they were
};

std::string Counts(const ProcessResources& r) {
  return std::to_string(r.threads) + " threads, " + std::to_string(r.descriptors) + " descriptors";
}

Observed Converse(const Conversation& c, FaultPlan* plan, const fs::path& folder,
                  const LibrarySide& library) {
  Observed out;
  library.load();
  // Counted before the simulator's own threads and lines start and after they end.
  const ProcessResources before = ProcessResources::Now();
  {
    Bench bench(c, plan, folder);
    bench.start();
    out.unit_before = UnitState(bench.unit());
    library.open(bench, c.link);
    out.got = c.run(bench);
    if (out.got.result != 1) out.got.data += "|error " + std::to_string(library.error_code());
    library.end();
    // A message may still be on its way to the unit when the export returns.
    std::this_thread::sleep_for(20ms);
    bench.stop();
    out.unit_after = UnitState(bench.unit());
    ProcessResources after = ProcessResources::Now();
    for (int i = 0; i < 300 && !(after == before); ++i) {
      std::this_thread::sleep_for(10ms);
      after = ProcessResources::Now();
    }
    if (!(after == before)) out.leak = Counts(before) + " before, " + Counts(after) + " after";
    library.unload();  // while the IrDA stack is still there
  }
  return out;
}

// The clean run's digests: what the application got, then what the unit holds.
struct CleanRun {
  std::string got;
  std::string unit_after;
};

Verdict Judge(const Conversation& c, const CleanRun& clean, const Observed& o,
              const std::string& log) {
  const auto wrong = [&](const std::string& why) {
    return Verdict{Outcome::Wrong, why + "; " + log};
  };
  if (!o.leak.empty()) return wrong("leak: " + o.leak);
  const bool unit_as_before = o.unit_after == o.unit_before;
  const bool unit_as_clean = Digest(o.unit_after) == clean.unit_after;
  if (o.got.result == 1) {
    if (Digest(o.got.data) != clean.got) return wrong("accepted data differs");
    if (unit_as_clean) return {Outcome::Correct, log};
    if (c.unit_change_unreported && unit_as_before)
      return {o.got.data.empty() ? Outcome::CleanFailure : Outcome::Correct, log};
    return wrong("success reported, the unit holds other data");
  }
  const auto& results = c.failure_results;
  if (std::find(results.begin(), results.end(), o.got.result) == results.end())
    return wrong("failure result " + std::to_string(o.got.result));
  // The settings and info exports also leave their documented error code; the downloads tell
  // by their result alone.
  const std::string kept = o.got.data.substr(0, o.got.data.rfind("|error "));
  if (!kept.empty()) return wrong("kept after a failure: " + kept);
  if (o.got.result == 0 && o.got.data != "|error " + std::to_string(c.failure_error))
    return wrong("error code" + o.got.data.substr(6));
  if (!unit_as_before && !unit_as_clean) return wrong("half-written unit");
  return {Outcome::CleanFailure, log};
}

fs::path Folder(uint32_t seed) {
  fs::path folder = fs::temp_directory_path() /
                    ("quibra-fault-" + std::to_string(getpid()) + "-" + std::to_string(seed));
  fs::create_directories(folder);
  return folder;
}

std::optional<CleanRun> RunClean(const Conversation& c, const LibrarySide& library) {
  const Verdict v = RunForked(
      [&] {
        const fs::path folder = Folder(0);
        const Observed o = Converse(c, nullptr, folder, library);
        fs::remove_all(folder);
        if (o.got.result != 1 || !o.leak.empty())
          return Verdict{Outcome::Wrong, o.got.data + o.leak};
        if (c.writes && o.unit_after == o.unit_before)
          return Verdict{Outcome::Wrong, "the unit kept what it held"};
        return Verdict{Outcome::Correct, Digest(o.got.data) + Digest(o.unit_after)};
      },
      kTrialLimit);
  if (v.outcome != Outcome::Correct) {
    std::fprintf(stderr, "%s: the fault-free run fails (%s)\n", c.name.c_str(), v.detail.c_str());
    return std::nullopt;
  }
  return CleanRun{v.detail.substr(0, 16), v.detail.substr(16)};
}

uint32_t TrialSeed(uint32_t seed, int trial) {
  std::seed_seq mix{seed, static_cast<uint32_t>(trial)};
  uint32_t out = 0;
  mix.generate(&out, &out + 1);
  return out;
}

Verdict RunTrial(const Conversation& c, const CleanRun& clean, uint32_t seed,
                 const LibrarySide& library) {
  return RunForked(
      [&] {
        const fs::path folder = Folder(seed);
        // From a line that strikes every other chunk to one that strikes one in twelve.
        std::mt19937 pick(seed);
        FaultPlan plan(seed, 2 + static_cast<int>(pick() % 11), kLongestDelay);
        const Observed o = Converse(c, &plan, folder, library);
        fs::remove_all(folder);
        return Judge(c, clean, o, plan.log());
      },
      kTrialLimit);
}

// The trials a regression file lists, one a line: a kind and a seed; lines starting with # say
// why.
std::vector<std::pair<std::string, uint32_t>> ReadRegressions(const char* path) {
  std::vector<std::pair<std::string, uint32_t>> trials;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    char kind[64] = {};
    unsigned seed = 0;
    if (line.empty() || line[0] == '#' || std::sscanf(line.c_str(), "%63s %u", kind, &seed) != 2)
      continue;
    trials.emplace_back(kind, seed);
  }
  return trials;
}

}  // namespace

Bench::Bench(const Conversation& conversation, FaultPlan* plan, fs::path folder)
    : conversation_(conversation),
      plan_(plan != nullptr ? *plan : quiet_),
      faulty_(plan != nullptr),
      folder_(std::move(folder)),
      unit_(conversation.type, 3),
      link_(unit_, false, kTurnaround) {
  if (conversation_.prepare) conversation_.prepare(unit_);
}

Bench::~Bench() {
  stop();
}

void Bench::start() {
  if (conversation_.link == Link::Serial) {
    relay_ = std::make_unique<SerialFaultRelay>(plan_, unit_, link_.start());
    serial_path_ = relay_->start();
  } else if (conversation_.link == Link::Irda) {
    stack_.add_unit(unit_);
    stack_.set_air_faults([this](IrdaStack::Air) {
      switch (plan_.on_air()) {
        case LineFault::Flip:
          return IrdaStack::AirFault::FlipBit;
        case LineFault::Drop:
          return IrdaStack::AirFault::LoseFrame;
        case LineFault::Close:
          return IrdaStack::AirFault::LoseLink;
        default:
          return IrdaStack::AirFault::None;
      }
    });
  }
}

void Bench::stop() {
  if (relay_) relay_->stop();
  link_.stop();
}

void Bench::hear(const std::string& wave_path) {
  std::ifstream in(wave_path, std::ios::binary);
  std::vector<uint8_t> wave(std::istreambuf_iterator<char>(in), {});
  if (faulty_) plan_.disturb_wave(wave);
  FrameReader reader;
  for (uint8_t byte : ListenToPipcast(wave).value_or(std::vector<uint8_t>{})) {
    if (auto request = reader.feed(byte)) unit_.handle(*request);
  }
}

int RunFaultMatrix(int argc, char** argv, const std::vector<Conversation>& conversations,
                   const LibrarySide& library) {
  int trials = 100;
  uint32_t seed = 1;
  std::string only;
  bool verbose = false;
  int shard = 0;
  int shards = 1;
  std::vector<std::pair<std::string, uint32_t>> regressions;
  for (int i = 1; i < argc; i += 2) {
    std::string option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (value == nullptr) option.clear();
    if (option == "--trials") {
      trials = std::atoi(value);
    } else if (option == "--seed") {
      seed = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
    } else if (option == "--kind") {
      only = value;
    } else if (option == "--verbose") {
      verbose = std::string(value) == "1";
    } else if (option == "--shard") {
      // K/M: only the trials whose number leaves K over M, so that M processes share a run
      // trial for trial (their tables add up to the whole run's).
      if (std::sscanf(value, "%d/%d", &shard, &shards) != 2 || shards < 1 || shard < 0 ||
          shard >= shards)
        option.clear();
    } else if (option == "--regressions") {
      regressions = ReadRegressions(value);
    } else {
      option.clear();
    }
    if (option.empty()) {
      std::fprintf(stderr,
                   "usage: %s --trials N --seed S [--kind K] [--shard K/M] [--regressions FILE] "
                   "[--verbose 1]\n",
                   argv[0]);
      return 2;
    }
  }
  const auto named = [&](const std::string& name) -> const Conversation* {
    for (const Conversation& c : conversations) {
      if (c.name == name) return &c;
    }
    return nullptr;
  };
  std::vector<const Conversation*> kinds;
  for (const Conversation& c : conversations) {
    if (only.empty() || only == c.name) kinds.push_back(&c);
  }
  if (kinds.empty()) {
    std::fprintf(stderr, "no conversation is named %s\n", only.c_str());
    return 2;
  }
  std::vector<std::pair<const Conversation*, uint32_t>> plan;
  for (const auto& [name, s] : regressions) {
    if (const Conversation* c = named(name); c != nullptr && shard == 0) plan.emplace_back(c, s);
  }
  for (int i = shard; i < trials; i += shards)
    plan.emplace_back(kinds[static_cast<size_t>(i) % kinds.size()], TrialSeed(seed, i));

  std::map<const Conversation*, std::optional<CleanRun>> clean_runs;
  OutcomeTable table;
  for (const auto& [c, trial_seed] : plan) {
    auto [at, fresh] = clean_runs.try_emplace(c);
    if (fresh) at->second = RunClean(*c, library);
    const Verdict v = at->second ? RunTrial(*c, *at->second, trial_seed, library)
                                 : Verdict{Outcome::Wrong, "no fault-free run"};
    table.add(c->name, v.outcome);
    if (verbose || (v.outcome != Outcome::Correct && v.outcome != Outcome::CleanFailure)) {
      std::printf("%s %u: %s (%s)\n", c->name.c_str(), trial_seed, OutcomeName(v.outcome),
                  v.detail.c_str());
    }
  }
  table.print(stdout);
  return table.clean() ? 0 : 1;
}

}  // namespace quibra::sim

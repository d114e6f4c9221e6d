#include "program.h"

#include <pthread.h>
#include <signal.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "codec/product_codes.h"
#include "generated_exercises.h"
#include "identification.h"
#include "serial_link.h"
#include "unit.h"

namespace quibra::sim {
namespace {

constexpr int kExitBadOptions = 2;

struct Options {
  int type = -1;
  int variant = 0;
  int product_code = -1;
  bool paced = false;
  bool irda = false;
  std::string memory;
  int exercises = -1;
};

int Refuse(const char* name, const std::string& reason) {
  std::fprintf(stderr, "%s: %s\nRun with --help for more information.\n", name, reason.c_str());
  return kExitBadOptions;
}

// A saved memory as the library writes its binary exercise file: file byte k is memory
// position k, from position 0, which does not exist and is always 0.
std::optional<std::vector<uint8_t>> ReadMemoryFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad() || bytes.empty()) return std::nullopt;
  bytes.erase(bytes.begin());
  return bytes;
}

// The exercises the options give the unit; false (with the reason said) when it cannot take
// them.
bool LoadExercises(const char* name, const Options& options, Unit& unit) {
  std::vector<uint8_t> memory;
  if (!options.memory.empty()) {
    auto saved = ReadMemoryFile(options.memory);
    if (!saved) {
      Refuse(name, "--memory: cannot read a saved memory from " + options.memory);
      return false;
    }
    memory = std::move(*saved);
  } else if (options.exercises >= 0 &&
             codec::GroupOfType(options.type) != codec::UnitGroup::Older) {
    // The running and cycling units keep files, fetched one at a time.
    auto files = GeneratedExerciseFiles(options.type, unit.product_code(), options.variant,
                                        options.exercises);
    if (!files) {
      Refuse(name, "--exercises: a unit of type " + std::to_string(options.type) +
                       " cannot be given " + std::to_string(options.exercises) +
                       " generated exercises");
      return false;
    }
    unit.set_exercise_files(std::move(*files));
    return true;
  } else if (options.exercises >= 0) {
    auto made = GeneratedExerciseMemory(options.type, unit.product_code(), options.variant,
                                        options.exercises);
    if (!made) {
      Refuse(name, "--exercises: a unit of type " + std::to_string(options.type) +
                       " cannot be given " + std::to_string(options.exercises) +
                       " generated exercises");
      return false;
    }
    memory = std::move(*made);
  } else {
    return true;
  }
  if (!unit.set_exercise_memory(std::move(memory))) {
    Refuse(name, "--memory: more than a unit sends in one transfer (" +
                     std::to_string(Unit::kMaxTrainBytes) + " bytes)");
    return false;
  }
  return true;
}

}  // namespace

int RunSimProgram(const char* name, int argc, char** argv) {
  Options options;
  CLI::App app(
      "Puts a simulated wrist unit on a pseudo-terminal, prints the device path to open "
      "as its port, and runs until SIGINT or SIGTERM.",
      name);
  app.add_option("--type", options.type, "monitor type: 11, 12, 13, 15, 20..23, 25..27, 30..38")
      ->required();
  app.add_option("--variant", options.variant, "variant, 0..15 (default 0)")
      ->check(CLI::Range(0, 15));
  app.add_option("--product-code", options.product_code,
                 "the product code the unit reports, 0..255 (default: the type's own)")
      ->check(CLI::Range(0, 255));
  CLI::Option* paced =
      app.add_flag("--paced", options.paced, "answers at the real line's byte rate");
  app.add_flag("--irda", options.irda,
               "the line carries IrDA link frames of the short form (quibra --link irda)")
      ->excludes(paced);
  CLI::Option* memory =
      app.add_option("--memory", options.memory,
                     "the exercises it holds: a saved memory (quibra download's memory.bin)");
  app.add_option("--exercises", options.exercises,
                 "the exercises it holds: N made up, 0.." + std::to_string(kMaxGeneratedExercises))
      ->check(CLI::Range(0, kMaxGeneratedExercises))
      ->excludes(memory);

  // CLI11 takes the arguments last first.
  std::vector<std::string> args(argv, argv + argc);
  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::Success&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::ParseError& error) {
    return Refuse(name, error.what());
  }
  if (!Unit::SupportsType(options.type)) {
    return Refuse(name, "--type: no simulated unit of type " + std::to_string(options.type));
  }

  // Block the stop signals before the unit's thread starts, so that only sigwait below takes
  // them and the thread is stopped and joined in order.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  try {
    Unit unit(options.type, options.variant,
              options.product_code < 0 ? DefaultProductCode(options.type) : options.product_code);
    if (!LoadExercises(name, options, unit)) return kExitBadOptions;
    SerialLink link(
        unit, options.paced, SerialLink::kDefaultTurnaround,
        options.irda ? SerialLink::Framing::ShortFormBlocks : SerialLink::Framing::Serial);
    const std::string path = link.start();
    if (path.empty()) {
      std::fprintf(stderr, "%s: no pseudo-terminal: %s\n", name, std::strerror(errno));
      return 1;
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    link.stop();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", name, error.what());
    return 1;
  }
  return 0;
}

}  // namespace quibra::sim

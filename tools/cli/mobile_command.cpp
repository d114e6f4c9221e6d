// quibra mobile receive: waits for a phone to send an exercise memory over infrared and saves it
// as memory.bin and one HRM file per exercise. --sim-phone puts a simulated phone that holds a
// generated exercise in range of a stand-in IrDA stack, where the system has no IrDA of its own.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "commands.h"
#include "exercise_files.h"
#include "failure.h"
#include "irda_stack.h"
#include "library_session.h"
#include "mobile_phone.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "stop_control.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

constexpr int32_t kReceived = 1;
constexpr int32_t kRestart = 2;
constexpr int32_t kWholeMemoryImage = 1;

struct Options {
  std::string out;
  int sim_phone = 0;  // the simulated phone's unit type; 0: the system's IrDA
};

// The stand-in stack and its phone. Made before the library session, so that they outlive the
// library's threads, and they leave the library on the way.
struct SimulatedPhone {
  explicit SimulatedPhone(int type) : phone(stack, sim::PhoneMemory(type)) {}
  ~SimulatedPhone() {
    phone.stop();
    fnQuibraExt_SetIrdaStack(nullptr);
  }
  SimulatedPhone(const SimulatedPhone&) = delete;
  SimulatedPhone& operator=(const SimulatedPhone&) = delete;

  sim::IrdaStack stack;
  sim::MobilePhone phone;
};

bool SaveMemory(OutputFile& memory) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  const std::string& path = memory.partial();
  if (path.size() >= sizeof params.FilePath) return false;
  std::memcpy(params.FilePath, path.data(), path.size());
  return fnQuibra_SaveExerciseBinFile(&params) == 1;
}

int Receive(const Options& o) {
  if (const std::string problem = CheckWritableDirectory(o.out); !problem.empty()) {
    std::fprintf(stderr, "quibra: %s\n", problem.c_str());
    return kExitFailure;
  }
  std::unique_ptr<SimulatedPhone> simulated;
  if (o.sim_phone != 0) {
    simulated = std::make_unique<SimulatedPhone>(o.sim_phone);
    if (fnQuibraExt_SetIrdaStack(&simulated->stack.table()) != 1) return kExitFailure;
    simulated->phone.start();
  }
  LibrarySession library;
  TerminalView view;
  int32_t result = kRestart;
  // Restart opens the dialog again, until a phone sent its memory or the user gave up.
  while (result == kRestart && !StopRequested())
    result = fnQuibra_ReadFromMobile(0);
  if (StopRequested()) return kExitFailure;
  // A memory that arrived but could not be decoded (result 0) is still saved as memory.bin.
  if (fnKx2GetNbrOfMemtrBytes() == 0) {
    std::fprintf(stderr, "quibra: no phone sent an exercise memory\n");
    return kExitFailure;
  }
  OutputFile memory(FreeName(o.out, "memory", ".bin"));
  if (!SaveMemory(memory)) {
    std::fprintf(stderr, "quibra: cannot write %s%s\n", memory.path().c_str(),
                 LibraryErrorCause().c_str());
    return kExitFailure;
  }
  int refused = 0;
  const auto saved = SaveExercises(o.out, false, refused, kWholeMemoryImage);
  std::string error;
  if (!saved || StopRequested()) return kExitFailure;
  if (!memory.Commit(false, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return kExitFailure;
  }
  if (!Global().quiet) std::printf("%s  the exercise memory\n", memory.path().c_str());
  return result == kReceived && refused == 0 && !saved->empty() ? 0 : kExitFailure;
}

}  // namespace

void AddMobileCommand(CLI::App& app, CommandRun& run) {
  CLI::App* mobile =
      app.add_subcommand("mobile", "exercises a mobile phone sends over infrared (IrCOMM)");
  mobile->require_subcommand(1);
  auto o = std::make_shared<Options>();
  CLI::App* receive = mobile->add_subcommand(
      "receive", "wait for a phone's exercise memory; save it as memory.bin and HRM files");
  receive->add_option("--out", o->out, "the folder for the files")->option_text("DIR")->required();
  receive
      ->add_option("--sim-phone", o->sim_phone,
                   "a simulated phone sends one exercise of a unit of this type (11..13, 15, "
                   "20..23) through a stand-in IrDA stack")
      ->option_text("TYPE")
      ->check(CLI::IsMember({11, 12, 13, 15, 20, 21, 22, 23}));
  receive->callback([o, &run] { run = [o] { return Receive(*o); }; });
}

}  // namespace quibra::cli

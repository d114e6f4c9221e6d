// Sound reception beside sox: the whole receiving chain (band-pass filter, beep demodulator,
// packet assembler) over a unit's sound download, in blocks as the capture thread hands them,
// against sox running a plain band-pass over the same wave file. Both as seconds of sound per
// second of CPU.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <stdexcept>
#include <string>

#include "platform/clock.h"
#include "platform/wave_file.h"
#include "side_by_side.h"
#include "sound/tonvox_receiver.h"
#include "tonvox_signal.h"

namespace quibra::bench {
namespace {

constexpr int32_t kRate = 44100;
constexpr size_t kBlock = 4096;  // samples per capture block
constexpr int kSoxRuns = 5;

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds sox takes to band-pass the file around the beeps' tone, in its fastest run.
double SoxSeconds(const std::string& wave) {
  double fastest = 0;
  for (int run = 0; run < kSoxRuns; ++run) {
    const double before = ChildCpuSeconds();
    const pid_t child = fork();
    if (child == 0) {
      execlp("sox", "sox", "-q", wave.c_str(), "-n", "bandpass", "4200", "1000",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      throw std::runtime_error("sox did not run (Debian package sox)");
    }
    const double seconds = ChildCpuSeconds() - before;
    if (run == 0 || seconds < fastest) fastest = seconds;
  }
  return fastest;
}

}  // namespace

std::vector<Figure> SoundFigures() {
  std::mt19937 random(9);
  std::vector<uint8_t> payload(4000);
  for (uint8_t& b : payload)
    b = static_cast<uint8_t>(random());
  sim::TonvoxTransfer transfer;
  transfer.mode = 2;
  sim::BeepSound sound;
  const std::vector<uint8_t> samples = sim::RenderBeeps(sim::TonvoxBytes(payload, transfer), sound);
  const double seconds_of_sound = static_cast<double>(samples.size()) / kRate;

  std::vector<uint8_t> work(samples.size());
  sound::TonvoxReceiver receiver;
  bool received = false;
  // Like sox's, the figure is the fastest of several slices: the work is the CPU's alone, and
  // anything else on the machine only slows it down.
  const double rounds = FastestRate([&] {
    work = samples;
    receiver.start(platform::system_clock(), 0, kRate, 5, false, false);
    for (size_t at = 0; at < work.size(); at += kBlock)
      receiver.process(work.data() + at, std::min(kBlock, work.size() - at));
    received = receiver.progress() == 100;
  });
  if (!received) throw std::runtime_error("the receiver did not take the whole download");

  const std::string wave = "/tmp/quibra_side_by_side_" + std::to_string(getpid()) + ".wav";
  if (!platform::WriteWholeFile(wave, platform::EncodeWave8(samples, kRate)))
    throw std::runtime_error("cannot write " + wave);
  const double sox = SoxSeconds(wave);
  unlink(wave.c_str());
  Figure f{"sound reception", rounds * seconds_of_sound, seconds_of_sound / sox,
           "s of sound per CPU s", "sox band-pass", 0};
  f.minimum = 1000;
  return {f};
}

}  // namespace quibra::bench

// quibra sound: a unit's sound download. `unit` writes the sound a simulated unit makes when it
// sends a file's bytes; `receive` listens to a wave file (or the sound card) through the
// library's download dialog and shows what arrived.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "exercise_files.h"
#include "failure.h"
#include "library_session.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "stop_control.h"
#include "terminal_view.h"
#include "tonvox_signal.h"
#include "wave_writer.h"

namespace quibra::cli {
namespace {

constexpr int32_t kDefaultType = 9;
constexpr int32_t kDefaultGain = 5;
constexpr int32_t kRateSelect22050 = 1;
// A recording is played into the library this many times faster than it lasts.
constexpr int32_t kWaveSpeedUp = 20;
constexpr size_t kBytesPerLine = 16;
// A unit of type 32 sends its identification by sound: the reception leaves its product code at
// position 8 of the memory transfer buffer and its variant at position 10.
constexpr int32_t kIdentifyingType = 32;
constexpr int32_t kIdentificationCode = 8;
constexpr int32_t kIdentificationVariant = 10;

struct Options {
  std::string payload;
  std::string out;
  std::string wav;
  int32_t type = kDefaultType;
  int32_t rate = 44100;
  int32_t gain = kDefaultGain;
  bool coded = false;
};

int UnitSound(const Options& o) {
  std::ifstream file(o.payload, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "quibra: cannot read %s\n", o.payload.c_str());
    return 1;
  }
  const std::vector<uint8_t> payload((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
  sim::TonvoxTransfer transfer;
  transfer.mode = o.coded ? 2 : 0;
  const size_t per_block = o.coded ? 220 : 250;
  if (payload.size() > 0xFFFF || payload.size() > 30 * per_block) {
    std::fprintf(stderr, "quibra: a unit sends at most %zu bytes\n", 30 * per_block);
    return 1;
  }
  transfer.block_data = per_block;
  sim::BeepSound sound;
  sound.sample_rate = o.rate;
  sound.tone_hz = sim::BeepToneFor(o.type);
  const std::vector<uint8_t> samples = sim::RenderBeeps(sim::TonvoxBytes(payload, transfer), sound);
  OutputFile wave(o.out);
  const bool written = WriteWave8(wave.partial(), samples, o.rate);
  std::string error = "cannot write " + o.out + ": " + std::strerror(errno);
  if (!written || !wave.Commit(true, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return kExitFailure;
  }
  std::printf("%s: %zu bytes as %.1f s of beeps at %d Hz\n", o.out.c_str(), payload.size(),
              static_cast<double>(samples.size()) / o.rate, o.rate);
  return 0;
}

// Header position 4 of the memory transfer buffer: the mode the unit sent its blocks in.
constexpr int32_t kModePosition = 4;
constexpr int32_t kCodedMode = 2;
// The blocks start after the 6-byte reception header.
constexpr int32_t kFirstBlock = 7;
// A plain block keeps two leading bytes and its length byte before its data.
constexpr int32_t kPlainBlockHead = 3;

// The unit's data. Coded blocks are assembled as data alone, which the payload export reads. A
// plain block keeps its two leading bytes and its length byte in the assembled buffer, and the
// payload export reads that buffer for the header's data length: the data is taken here block
// by block, through the memory accessors, for that many bytes.
std::vector<uint8_t> ReceivedData(bool coded) {
  const int32_t length = fnQuibra_GetTonvoxPayloadLength();
  std::vector<uint8_t> data;
  if (coded) {
    std::vector<int16_t> payload(static_cast<size_t>(length));
    fnQuibra_GetTonvoxPayload(payload.data());
    for (const int16_t byte : payload)
      data.push_back(static_cast<uint8_t>(byte & 0xFF));
    return data;
  }
  const int32_t end = fnKx2GetNbrOfMemtrBytes();
  for (int32_t block = kFirstBlock; block + kPlainBlockHead <= end + 1;) {
    const int32_t size = fnKx2GetMemtrData(block + kPlainBlockHead - 1);
    for (int32_t i = 0; i < size && static_cast<int32_t>(data.size()) < length; ++i)
      data.push_back(static_cast<uint8_t>(fnKx2GetMemtrData(block + kPlainBlockHead + i)));
    block += kPlainBlockHead + size;
  }
  return data;
}

void PrintPayload() {
  const bool coded = fnKx2GetMemtrData(kModePosition) == kCodedMode;
  const std::vector<uint8_t> data = ReceivedData(coded);
  std::printf("received: %s blocks\n", coded ? "Reed-Solomon coded" : "plain");
  std::printf("payload: %zu bytes\n", data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    std::printf("%02X%s", data[i],
                (i + 1) % kBytesPerLine == 0 || i + 1 == data.size() ? "\n" : " ");
  }
}

int Receive(const Options& o) {
  if (!o.wav.empty() && fnQuibraExt_SetRecordedSoundInput(o.wav.c_str(), kWaveSpeedUp) != 1) {
    std::fprintf(stderr, "quibra: %s is not a PCM wave file\n", o.wav.c_str());
    return 1;
  }
  int status = 1;
  {
    LibrarySession library;
    TerminalView view;
    if (!o.wav.empty()) view.cancel_when_retry_offered();
    const int32_t rate_select = o.rate == 22050 ? kRateSelect22050 : 0;
    const int32_t result = fnQuibra_ReadTonvoxData(0, o.type, rate_select, o.gain, 0);
    if (result == 1 && !StopRequested()) {
      status = 0;
      if (o.type == 6 || o.type == 9 || o.type == 10) {
        if (!o.out.empty() && !SaveDecodedExercise(o.out)) status = kExitFailure;
      } else if (o.type == kIdentifyingType) {
        std::printf("identified: product code %d, variant %d\n",
                    fnKx2GetMemtrData(kIdentificationCode),
                    fnKx2GetMemtrData(kIdentificationVariant));
      } else {
        PrintPayload();
      }
    } else {
      if (!StopRequested()) std::fprintf(stderr, "quibra: nothing was received\n");
    }
  }
  if (!o.wav.empty()) fnQuibraExt_SetRecordedSoundInput(nullptr, 1);
  return status;
}

void AddUnit(CLI::App* sound, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub =
      sound->add_subcommand("unit", "write the beeps a simulated unit sends a file's bytes with");
  sub->add_option("--payload", o->payload, "the bytes to send")
      ->option_text("FILE")
      ->required()
      ->check(CLI::ExistingFile);
  sub->add_option("--out", o->out, "the wave file to write")->option_text("FILE.wav")->required();
  sub->add_option("--type", o->type, "the unit's monitor type")->check(CLI::Range(1, 255));
  sub->add_option("--rate", o->rate, "the sample rate")->check(CLI::IsMember({22050, 44100}));
  sub->add_flag("--coded", o->coded, "Reed-Solomon coded blocks (else plain blocks)");
  sub->callback([o, &run] { run = [o] { return UnitSound(*o); }; });
}

void AddReceive(CLI::App* sound, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = sound->add_subcommand(
      "receive", "receive a unit's sound download from the sound card or a wave file");
  sub->add_option("--wav", o->wav, "play this recording instead of listening to the sound card")
      ->option_text("FILE.wav");
  sub->add_option("--type", o->type, "the unit's monitor type")->check(CLI::Range(1, 255));
  sub->add_option("--rate", o->rate, "the sample rate")->check(CLI::IsMember({22050, 44100}));
  sub->add_option("--gain", o->gain, "the filter gain")->check(CLI::Range(1, 10));
  sub->add_option("--out", o->out, "save a received exercise (types 6, 9, 10) as an HRM file")
      ->option_text("FILE.hrm");
  sub->callback([o, &run] { run = [o] { return Receive(*o); }; });
}

}  // namespace

void AddSoundCommand(CLI::App& app, CommandRun& run) {
  CLI::App* sound = app.add_subcommand("sound", "a unit's sound download, made or received");
  sound->require_subcommand(1);
  AddUnit(sound, run);
  AddReceive(sound, run);
}

}  // namespace quibra::cli

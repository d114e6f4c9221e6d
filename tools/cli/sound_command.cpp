#include "sound_command.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "arguments.h"
#include "exercise_files.h"
#include "library_session.h"
#include "quibra/quibra.h"
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

int Usage() {
  std::fprintf(stderr,
               "usage: quibra sound unit --payload FILE --out FILE.wav [--type N] "
               "[--rate 22050|44100] [--coded]\n"
               "       quibra sound receive [--wav FILE.wav] --type N [--rate 22050|44100] "
               "[--gain 1..10] [--out FILE.hrm]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--coded") {
      o.coded = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--payload") {
      o.payload = value;
    } else if (arg == "--out") {
      o.out = value;
    } else if (arg == "--wav") {
      o.wav = value;
    } else if (arg == "--type") {
      if (!ParseNumber(value, 1, 255, o.type)) return false;
    } else if (arg == "--gain") {
      if (!ParseNumber(value, 1, 10, o.gain)) return false;
    } else if (arg == "--rate") {
      if (!ParseNumber(value, 22050, 44100, o.rate) || (o.rate != 22050 && o.rate != 44100))
        return false;
    } else {
      return false;
    }
  }
  return true;
}

int UnitSound(const Options& o) {
  if (o.payload.empty() || o.out.empty()) return Usage();
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
  if (!WriteWave8(o.out, samples, o.rate)) {
    std::fprintf(stderr, "quibra: cannot write %s\n", o.out.c_str());
    return 1;
  }
  std::printf("%s: %zu bytes as %.1f s of beeps at %d Hz\n", o.out.c_str(), payload.size(),
              static_cast<double>(samples.size()) / o.rate, o.rate);
  return 0;
}

void PrintPayload() {
  const int32_t length = fnQuibra_GetTonvoxPayloadLength();
  std::vector<int16_t> payload(static_cast<size_t>(length));
  fnQuibra_GetTonvoxPayload(payload.data());
  std::printf("payload: %d bytes\n", length);
  for (size_t i = 0; i < payload.size(); ++i) {
    std::printf("%02X%s", payload[i] & 0xFF,
                (i + 1) % kBytesPerLine == 0 || i + 1 == payload.size() ? "\n" : " ");
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
    const int32_t rate_select = o.rate == 22050 ? kRateSelect22050 : 0;
    const int32_t result = fnQuibra_ReadTonvoxData(0, o.type, rate_select, o.gain, 0);
    if (result == 1) {
      status = 0;
      if (o.type == 6 || o.type == 9 || o.type == 10) {
        if (!o.out.empty() && !SaveDecodedExercise(o.out)) status = 1;
      } else if (o.type == kIdentifyingType) {
        std::printf("identified: product code %d, variant %d\n",
                    fnKx2GetMemtrData(kIdentificationCode),
                    fnKx2GetMemtrData(kIdentificationVariant));
      } else {
        PrintPayload();
      }
    } else {
      std::fprintf(stderr, "quibra: nothing was received\n");
    }
  }
  if (!o.wav.empty()) fnQuibraExt_SetRecordedSoundInput(nullptr, 1);
  return status;
}

}  // namespace

int SoundCommand(int argc, char** argv) {
  if (argc < 1) return Usage();
  const std::string what = argv[0];
  Options o;
  if (!ParseOptions(argc - 1, argv + 1, o)) return Usage();
  if (what == "unit") return UnitSound(o);
  if (what == "receive") return Receive(o);
  return Usage();
}

}  // namespace quibra::cli

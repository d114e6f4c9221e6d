// Writes a seed corpus for the sound-reception fuzz target: transfers of every sound-download
// unit as the simulator plays them (a wave file of its beeps), as the bytes after
// synchronisation, and as assembled data, in the target's input format (sound_input.h).
// Usage: sound_reception_seeds DIRECTORY
#include <cstdint>

#include "fuzz/seed_writer.h"
#include "fuzz/sound_input.h"
#include "platform/wave_file.h"
#include "tonvox_signal.h"

namespace {

using quibra::fuzz::Bytes;
using quibra::fuzz::SoundSelector;

// A payload with some structure: a rising count, as samples and laps make.
Bytes Payload(size_t size, int32_t type) {
  Bytes p(size);
  for (size_t i = 0; i < size; ++i)
    p[i] = static_cast<uint8_t>(type * 7 + i * 3);
  return p;
}

void Seeds(quibra::fuzz::SeedWriter& dir) {
  for (int32_t unit = 0; unit < 3; ++unit) {
    const int32_t type = quibra::fuzz::kSoundUnits[static_cast<size_t>(unit)];
    for (const uint8_t mode : {uint8_t{0}, uint8_t{2}}) {
      quibra::sim::TonvoxTransfer transfer;
      transfer.mode = mode;
      transfer.block_data = 24;
      const Bytes bytes = quibra::sim::TonvoxBytes(Payload(40, type), transfer);
      for (const bool ignore : {false, true}) {
        dir.write({SoundSelector(quibra::fuzz::kAssemblerRoad, unit, ignore, true)}, bytes);
      }
      // The beeps of a short plain transfer at the lower rate keep the recording within the
      // target's longest input.
      if (mode == 0) {
        const Bytes short_transfer = quibra::sim::TonvoxBytes(Payload(4, type), transfer);
        quibra::sim::BeepSound sound;
        sound.sample_rate = 22050;
        sound.tone_hz = quibra::sim::BeepToneFor(type);
        const Bytes wave =
            quibra::platform::EncodeWave8(quibra::sim::RenderBeeps(short_transfer, sound), 22050);
        dir.write({SoundSelector(quibra::fuzz::kWaveRoad, unit, false, true)}, wave);
      }
    }
    // Assembled data: the reception header, then the unit's data from position 7.
    Bytes assembled = {0x55, 0x01, static_cast<uint8_t>(type), 0, 40, 0};
    const Bytes payload = Payload(40, type);
    assembled.insert(assembled.end(), payload.begin(), payload.end());
    dir.write({SoundSelector(quibra::fuzz::kAnalysisRoad, unit, false, false)}, assembled);
  }
}

}  // namespace

int main(int argc, char** argv) {
  return quibra::fuzz::SeedMain(argc, argv, Seeds);
}

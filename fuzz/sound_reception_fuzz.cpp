// Feeds arbitrary recordings, byte streams and assembled data to the sound download's receiving
// chain (wave file, band-pass filter, beep demodulator, packet assembler) and to the sound
// analysis, for every unit that downloads by sound (input format in sound_input.h). Nothing may
// read or write outside its buffers, whatever the recording holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "fuzz/memory_file.h"
#include "fuzz/sound_input.h"
#include "fuzz/still_clock.h"
#include "platform/registry.h"
#include "platform/wave_sound_input.h"
#include "quibra/quibra.h"
#include "sound/tonvox_receiver.h"

namespace {

// The reception's silence and the wave input's pace follow the recording, not the fuzzer's
// speed.
quibra::fuzz::StillClock g_clock;
quibra::fuzz::MemoryFile* g_wave = nullptr;

// The recording goes to the receiver in blocks, as the capture thread hands it over, and one
// silent block follows it to end a frame in progress. The reception does not depend on the
// block's length (the capture side takes 5016 samples); a block of 1024 samples is longer than
// a frame (880 samples at 44 100) and keeps the silence after a short recording short, where a
// capture block would make filtering silence most of the target's work.
constexpr size_t kCaptureBlock = 1024;
constexpr int kSilentBlocks = 1;

// Puts assembled data into the exercise memory from position 1, as a finished reception does.
void StoreAsAssembled(const uint8_t* data, size_t size) {
  auto& memory = quibra::module().exercise_memory;
  memory.allocate();
  int32_t position = 0;
  for (size_t i = 0; i < size && memory.store(position + 1, data[i]); ++i)
    ++position;
  memory.set_count(position);
}

// Runs the recording through the receiving chain, block by block, as the capture thread does.
void ReceiveWave(const uint8_t* data, size_t size, int32_t type, int32_t rate, bool ignore) {
  if (!g_wave->fill(data, size)) return;
  const auto input = quibra::platform::WaveSoundInput::FromFile(g_wave->path());
  if (!input || input->open(rate) != quibra::platform::SoundInput::OpenResult::kRecording) return;
  const auto chain = std::make_unique<quibra::sound::TonvoxReceiver>();
  quibra::sound::TonvoxReceiver& receiver = *chain;
  receiver.start(g_clock, type, rate, 5, ignore, false);
  static std::vector<uint8_t> block(kCaptureBlock);
  const size_t blocks = (size + kCaptureBlock - 1) / kCaptureBlock + kSilentBlocks;
  for (size_t b = 0; b < blocks; ++b) {
    if (input->read(block.data(), block.size(), 0) !=
        quibra::platform::SoundInput::ReadResult::kBlock)
      break;
    if (receiver.process(block.data(), block.size()) !=
        quibra::sound::TonvoxReceiver::Step::kListening)
      break;
    receiver.progress();
    receiver.level();
  }
  input->close();
  StoreAsAssembled(receiver.assembler().assembled(), receiver.assembler().assembled_count());
}

// Hands the bytes to the assembler in the demodulator's batches, as a reception does.
void Assemble(const uint8_t* data, size_t size, int32_t type, bool ignore) {
  const auto assembler = std::make_unique<quibra::sound::PacketAssembler>();
  assembler->start(type, false);
  quibra::sound::ByteBatch batch;
  for (size_t at = 0; at < size;) {
    const size_t n = std::min<size_t>(1 + data[at] % 16, size - at);
    for (size_t i = 0; i < n; ++i)
      batch.append(data[at + i]);
    at += n;
    if (assembler->assemble(batch, ignore) == 0) break;
    assembler->progress(nullptr);
  }
  StoreAsAssembled(assembler->assembled(), assembler->assembled_count());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  quibra::platform::set_clock(&g_clock);
  g_wave = new quibra::fuzz::MemoryFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t selector = data[0];
  const int32_t type = quibra::fuzz::kSoundUnits[(selector >> 2) & 3];
  const bool ignore = (selector & 0x10) != 0;
  const int32_t rate = (selector & 0x20) != 0 ? 22050 : 44100;
  switch (selector & 3) {
    case quibra::fuzz::kWaveRoad:
      ReceiveWave(data + 1, size - 1, type, rate, ignore);
      break;
    case quibra::fuzz::kAssemblerRoad:
      Assemble(data + 1, size - 1, type, ignore);
      break;
    default:
      StoreAsAssembled(data + 1, size - 1);
      break;
  }
  // Decode what arrived and read it back, as an application would.
  fnQuibra_AnalyzeTonvoxFile(type, 0, 0);
  const int32_t samples = fnQuibra_GetNbrOfHRMSamples();
  for (int32_t i = 0; i < samples; ++i)
    fnQuibra_GetHRMSamples(1 + i % 24, i);
  const int32_t laps = fnQuibra_GetNbrOfIntTimes();
  for (int32_t i = 0; i < laps; ++i)
    fnQuibra_GetIntTimeData(i, 601);
  // The payload is read when it lies within what arrived: past the count every read gives 0,
  // and a header claiming 65535 bytes would only make the input slow.
  static std::vector<int16_t> payload(65536);
  if (fnQuibra_GetTonvoxPayloadLength() <= fnKx2GetNbrOfMemtrBytes())
    fnQuibra_GetTonvoxPayload(payload.data());
  return 0;
}

// The sound reception through its exports: the recording device is a recording of a simulated
// unit played in place of the sound card, at fifty times real speed.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "platform/wave_file.h"
#include "quibra/quibra.h"
#include "support/fake_sound_card.h"
#include "support/module_fixture.h"
#include "tonvox_signal.h"
#include "support/test_folder.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;

class TonvoxCaptureTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_clock(&clock_);
    platform::set_sound_input(&card_);
  }
  void TearDown() override {
    fnQuibra_Tonvox_End(1);
    platform::set_sound_input(nullptr);
    platform::set_clock(nullptr);
    ModuleTest::TearDown();
  }
  void play(const Bytes& bytes) { card_.play(bytes); }
  // Polls like the download dialog until the reception reports an end (or 100 with stop_at_100);
  // every figure seen, in order.
  std::vector<int32_t> poll(bool stop_at_100 = false) {
    std::vector<int32_t> seen;
    for (int i = 0; i < 20000; ++i) {
      const int32_t p = fnQuibra_Tonvox_Progress();
      if (seen.empty() || seen.back() != p) seen.push_back(p);
      if (p == -5 || p == -6 || (stop_at_100 && p == 100)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return seen;
  }
  Bytes payload_of_assembled() {
    const sound::PacketAssembler& a = m().tonvox.assembled();
    return Bytes(a.assembled() + 6, a.assembled() + a.assembled_count());
  }
  platform::ScaledClock clock_{0.02};
  FakeSoundCard card_;
};

TEST_F(TonvoxCaptureTest, SilenceAndBadDataEndTheReception) {
  // Gain level 11 filters everything away: after 20 s of nothing, -6.
  play(sim::TonvoxBytes(Bytes(20, 1), {}));
  ASSERT_EQ(fnQuibra_Tonvox_Start(22, 11, 48000, 0, 0), 0);
  EXPECT_EQ(card_.opened_rate, 44100);  // 48 000 records at 44 100
  EXPECT_EQ(poll().back(), -6);
  EXPECT_EQ(fnQuibra_Tonvox_Level(), 0);
  fnQuibra_Tonvox_End(0);

  Bytes bad = sim::TonvoxBytes(Bytes(20, 1), {});
  bad[12] ^= 0x04;  // a data byte of the only plain block
  play(bad);
  ASSERT_EQ(fnQuibra_Tonvox_Start(22, 5, 44100, 0, 0), 0);
  EXPECT_EQ(poll().back(), -5);
  fnQuibra_Tonvox_End(0);
  EXPECT_EQ(m().tonvox.assembled().assembled_count(), 6u);  // the header was kept
}

TEST_F(TonvoxCaptureTest, StartReportsWhatTheSoundCardSays) {
  using Open = FakeSoundCard::Open;
  const std::pair<Open, int32_t> refusals[] = {
      {Open::kBusy, -2}, {Open::kUnsupported, -3}, {Open::kFailed, -4}};
  for (const auto& [result, code] : refusals) {
    card_.open_result = result;
    EXPECT_EQ(fnQuibra_Tonvox_Start(22, 5, 44100, 0, 0), code);
    EXPECT_FALSE(m().tonvox.running());
  }
  const int opens = card_.opens;
  card_.device = false;
  EXPECT_EQ(fnQuibra_Tonvox_Start(22, 5, 44100, 0, 0), -1);
  EXPECT_EQ(card_.opens, opens);  // nothing was opened

  // A card that fails while recording stops the capture; the figure stays where it was.
  card_.device = true;
  card_.open_result = Open::kRecording;
  card_.fail_reads = true;
  ASSERT_EQ(fnQuibra_Tonvox_Start(22, 5, 44100, 0, 0), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(fnQuibra_Tonvox_Progress(), 0);  // neither bad data nor silence
}

TEST_F(TonvoxCaptureTest, TheFiguresNeverWaitForTheChainAndEndReleasesOnce) {
  card_.endless_silence = true;
  ASSERT_EQ(fnQuibra_Tonvox_Start(9, 5, 22050, 0, 0), 0);
  EXPECT_EQ(card_.opened_rate, 22050);
  {
    // While the chain is busy (here for as long as the test likes) the figures of the last
    // block answer at once.
    std::unique_lock<std::mutex> busy(m().tonvox.chain_lock());
    std::atomic<bool> answered{false};
    int32_t progress = -1;
    int32_t level = -1;
    std::thread poller([&] {
      progress = fnQuibra_Tonvox_Progress();
      level = fnQuibra_Tonvox_Level();
      answered = true;
    });
    for (int i = 0; i < 1000 && !answered; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(answered);
    busy.unlock();
    poller.join();
    EXPECT_EQ(progress, 0);
    EXPECT_EQ(level, 0);
  }

  fnQuibra_Tonvox_End(0);
  EXPECT_FALSE(m().tonvox.running());
  fnQuibra_Tonvox_End(0);
  EXPECT_EQ(fnQuibra_ResetTonvoxCommunication(0), 1);
  EXPECT_EQ(card_.closes, 1);  // released once
}

TEST_F(TonvoxCaptureTest, DebugDumpsAreWrittenInTheCurrentDirectory) {
  const std::filesystem::path dir = TestFolder();
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  const Bytes stream = sim::TonvoxBytes(Bytes(5, 9), {});
  play(stream);
  ASSERT_EQ(fnQuibra_Tonvox_Start(22, 5, 44100, 1, 0), 0);
  EXPECT_EQ(poll(true).back(), 100);
  fnQuibra_Tonvox_End(0);
  std::filesystem::current_path(previous);

  const auto size = [&](const char* name) { return std::filesystem::file_size(dir / name); };
  const size_t blocks = size("FilterOut.dat") / 5016;
  ASSERT_GT(blocks, 0u);
  EXPECT_EQ(size("FilterOut.dat"), blocks * 5016);
  EXPECT_EQ(size("Samples.dat"), 2 * blocks * 5016);  // each block twice
  EXPECT_EQ(size("SigmaOut.dat"), blocks * 5016 * 4);
  EXPECT_EQ(size("BitFile.dat"), 8 * (stream.size() - 1));  // every byte after the start byte
  EXPECT_EQ(size("Detectfile.dat") % 16, 0u);
  for (const char* empty : {"NormalizedOut.dat", "Normalized2Out.dat", "Devifile.dat", "Sum.txt"})
    EXPECT_EQ(size(empty), 0u) << empty;
  std::ifstream bytes(dir / "Bytes.txt", std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(bytes), {}), stream);
}

// An application's recording in place of the sound card, played fifty times faster: refused
// when it is not a wave file, and kept while a reception runs, whose capture thread reads it.
TEST_F(TonvoxCaptureTest, ARecordedWaveFileStandsInForTheSoundCard) {
  const std::string wave = TestFolder() + "/unit-recording.wav";
  const Bytes payload = {0x51, 0x75, 0x69, 0x62, 0x72, 0x61};
  const Bytes samples = sim::RenderBeeps(sim::TonvoxBytes(payload, {.mode = 2}), {});
  ASSERT_TRUE(platform::WriteWholeFile(wave, platform::EncodeWave8(samples, 44100)));
  EXPECT_EQ(fnQuibraExt_SetRecordedSoundInput("/nonexistent.wav", 50), 0);
  EXPECT_EQ(fnQuibraExt_SetRecordedSoundInput(wave.c_str(), 0), 0);
  EXPECT_EQ(fnQuibraExt_SetRecordedSoundInput(wave.c_str(), 1001), 0);
  EXPECT_EQ(&platform::sound_input(), &card_);  // nothing changed

  ASSERT_EQ(fnQuibraExt_SetRecordedSoundInput(wave.c_str(), 50), 1);
  ASSERT_EQ(fnQuibra_Tonvox_Start(22, 5, 44100, 0, 0), 0);
  EXPECT_EQ(fnQuibraExt_SetRecordedSoundInput(nullptr, 1), 0);
  EXPECT_EQ(poll(true).back(), 100);
  fnQuibra_Tonvox_End(0);
  EXPECT_EQ(card_.opens, 0);
  EXPECT_EQ(payload_of_assembled(), payload);

  EXPECT_EQ(fnQuibraExt_SetRecordedSoundInput(nullptr, 1), 1);
  EXPECT_EQ(&platform::sound_input(), module().backends.sound_input.get());
  EXPECT_EQ(&platform::clock(), &platform::system_clock());
}

}  // namespace
}  // namespace quibra::testing

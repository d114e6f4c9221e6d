// The whole receiving chain against the sound a simulated unit plays: filter, demodulator and
// assembler, block by block as the capture side hands them over, at both rates and for the
// high-pitched units, with noise and with bytes that need correcting.
#include "sound/tonvox_receiver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/manual_clock.h"
#include "tonvox_signal.h"

namespace quibra::sound {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::ManualClock;

constexpr size_t kCaptureBlock = 5016;

Bytes Payload(size_t size) {
  Bytes p(size);
  for (size_t i = 0; i < size; ++i)
    p[i] = static_cast<uint8_t>(i * 31 + 5);
  return p;
}

struct Reception {
  TonvoxReceiver::Step last = TonvoxReceiver::Step::kListening;
  std::vector<uint32_t> progress;  // after every block
};

// Hands the recording over in capture blocks, moving the clock by each block's duration.
Reception Receive(TonvoxReceiver& receiver, ManualClock& clock, Bytes recording, int32_t rate) {
  Reception r;
  for (size_t at = 0; at < recording.size(); at += kCaptureBlock) {
    const size_t n = std::min(kCaptureBlock, recording.size() - at);
    r.last = receiver.process(recording.data() + at, n);
    r.progress.push_back(receiver.progress());
    clock.advance(static_cast<uint32_t>(n * 1000 / rate));
    if (r.last != TonvoxReceiver::Step::kListening) break;
  }
  return r;
}

Bytes Assembled(const TonvoxReceiver& receiver) {
  const PacketAssembler& a = receiver.assembler();
  return {a.assembled() + 6, a.assembled() + a.assembled_count()};
}

struct Case {
  int32_t type;
  int32_t rate;
  uint8_t mode;
};

class TonvoxReceiverTest : public ::testing::TestWithParam<Case> {};

TEST_P(TonvoxReceiverTest, HearsAWholeTransfer) {
  const Case c = GetParam();
  const Bytes payload = Payload(c.mode == 2 ? 500 : 260);
  sim::BeepSound sound;
  sound.sample_rate = c.rate;
  sound.tone_hz = sim::BeepToneFor(c.type);
  const Bytes recording =
      sim::RenderBeeps(sim::TonvoxBytes(payload, {.mode = c.mode, .block_data = 100}), sound);

  ManualClock clock;
  TonvoxReceiver receiver;
  receiver.start(clock, c.type, c.rate, 5, false, false);
  const Reception r = Receive(receiver, clock, recording, c.rate);
  EXPECT_EQ(r.last, TonvoxReceiver::Step::kListening);
  EXPECT_EQ(r.progress.back(), 100u);
  EXPECT_TRUE(std::is_sorted(r.progress.begin(), r.progress.end()));
  EXPECT_EQ(Assembled(receiver).size(), c.mode == 2 ? payload.size() : payload.size() + 9);
  if (c.mode == 2) {
    EXPECT_EQ(Assembled(receiver), payload);
  }
  EXPECT_EQ(receiver.assembler().assembled()[2], static_cast<uint8_t>(c.type));
  EXPECT_GT(receiver.level(), 0);

  // The unit then falls silent: two seconds later the reception ends.
  Bytes silence(kCaptureBlock * 20, 128);
  EXPECT_EQ(Receive(receiver, clock, silence, c.rate).last, TonvoxReceiver::Step::kSilent);
}

INSTANTIATE_TEST_SUITE_P(UnitsAndRates, TonvoxReceiverTest,
                         ::testing::Values(Case{22, 44100, 0}, Case{22, 44100, 2},
                                           Case{9, 44100, 2}, Case{6, 44100, 0}, Case{22, 22050, 2},
                                           Case{10, 22050, 0}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           const Case& c = info.param;
                           return "Type" + std::to_string(c.type) + "At" + std::to_string(c.rate) +
                                  (c.mode == 2 ? "Coded" : "Plain");
                         });

TEST(TonvoxReceiver, NoiseAndCorruptedBytesAreCorrected) {
  const Bytes payload = Payload(400);
  Bytes bytes = sim::TonvoxBytes(payload, {.mode = 2, .block_data = 200});
  for (size_t i = 0; i < 12; ++i)
    bytes[8 + 40 + i * 9] ^= 0x81;  // in the first block
  sim::BeepSound sound;
  Bytes recording = sim::RenderBeeps(bytes, sound);
  std::mt19937 random(3);
  std::normal_distribution<double> noise(0, 1.5);
  for (uint8_t& s : recording)
    s = static_cast<uint8_t>(std::clamp(s + noise(random), 0.0, 255.0));

  ManualClock clock;
  TonvoxReceiver receiver;
  receiver.start(clock, 22, 44100, 5, false, false);
  EXPECT_EQ(Receive(receiver, clock, recording, 44100).progress.back(), 100u);
  EXPECT_EQ(Assembled(receiver), payload);
}

}  // namespace
}  // namespace quibra::sound

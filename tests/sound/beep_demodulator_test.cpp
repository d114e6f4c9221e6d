// The beep demodulator, fed with filtered samples in which every beep is a single spike: its
// energy peak is then taken at a fixed distance after the spike, so frames, bit limits and
// energies can be placed to the sample.
#include "sound/beep_demodulator.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/manual_clock.h"

namespace quibra::sound {
namespace {

using testing::ManualClock;

constexpr uint32_t kSlot = 88;  // 2 ms at 44 100 Hz
constexpr uint8_t kLoud = 140;  // energy 10 000 x 12

struct Spikes {
  std::vector<uint8_t> samples;
  // A frame: the reference spike, then one spike (k + 1) slots later for each set bit k, then
  // silence until 20 slots have passed, so that nothing of it is left when the next begins.
  Spikes& frame(uint8_t byte, uint8_t height = kLoud) {
    const size_t start = samples.size();
    samples.resize(start + 20 * kSlot, 128);
    samples[start] = height;
    for (uint32_t k = 0; k < 8; ++k)
      if (byte & (1u << k)) samples[start + (k + 1) * kSlot] = height;
    return *this;
  }
  // A reference spike and one more spike d samples after it.
  Spikes& pair(uint32_t d) {
    const size_t start = samples.size();
    samples.resize(start + 20 * kSlot, 128);
    samples[start] = kLoud;
    samples[start + d] = kLoud;
    return *this;
  }
  Spikes& preamble(int frames = 3) {
    for (int i = 0; i < frames; ++i)
      frame(kPreambleByte);
    return *this;
  }
};

class BeepDemodulatorTest : public ::testing::Test {
 protected:
  BeepDemodulatorTest() { demodulator.start(clock, 44100, false); }
  std::vector<uint8_t> run(const Spikes& s) {
    ByteBatch batch;
    EXPECT_EQ(demodulator.demodulate(s.samples.data(), s.samples.size(), batch, false), 1);
    return {batch.bytes.begin(), batch.bytes.begin() + batch.count};
  }
  ManualClock clock;
  BeepDemodulator demodulator;
};

TEST_F(BeepDemodulatorTest, SynchronisesOnThePreambleAndTheStartByte) {
  Spikes s;
  s.preamble().frame(0x00).frame(kStartByte).frame(0x12).frame(0xFF).frame(0x00);
  EXPECT_EQ(run(s), (std::vector<uint8_t>{0x55, 0x12, 0xFF, 0x00}));
  EXPECT_TRUE(demodulator.synchronised());
  // Three frames of energy 120 000 make 360 000, divided by 9 at the start byte.
  EXPECT_LE(demodulator.energy_threshold(), 40000u);
  EXPECT_GT(demodulator.energy_threshold(), 30000u);
}

TEST_F(BeepDemodulatorTest, ABrokenPreambleStartsOver) {
  Spikes s;
  s.preamble(2).frame(0x3C);
  EXPECT_TRUE(run(s).empty());
  EXPECT_EQ(demodulator.preamble_count(), 0);
  EXPECT_EQ(demodulator.energy_threshold(), 0u);
  // Two preamble frames and the start byte are not enough either.
  Spikes short_one;
  short_one.preamble(2).frame(kStartByte);
  EXPECT_TRUE(run(short_one).empty());
  EXPECT_FALSE(demodulator.synchronised());
  Spikes full;
  full.preamble(3).frame(kStartByte);
  EXPECT_EQ(run(full), std::vector<uint8_t>{0x55});
}

TEST_F(BeepDemodulatorTest, APulseOnABitLimitCountsForTheNextBit) {
  Spikes s;
  s.preamble().frame(kStartByte);
  const auto& limits = demodulator.timing().bit_limits;
  std::vector<uint8_t> expected = {0x55};
  for (uint32_t k = 0; k < 8; ++k) {
    s.pair(limits[k] - 1);
    expected.push_back(static_cast<uint8_t>(1u << k));
    s.pair(limits[k]);
    expected.push_back(k < 7 ? static_cast<uint8_t>(1u << (k + 1)) : 0);  // past bit 7: nothing
  }
  EXPECT_EQ(run(s), expected);
}

TEST_F(BeepDemodulatorTest, AFrameNeedsMoreThanTheEnergyFloor) {
  // A spike of 129 has energy 10 000 exactly: its frame is not read and the preamble count
  // stays. A spike of 130 (20 000) is read as 0x00, which breaks the preamble.
  Spikes weak;
  weak.preamble(2).frame(0x00, 129);
  run(weak);
  EXPECT_EQ(demodulator.preamble_count(), 2);
  Spikes s;
  s.frame(kPreambleByte).frame(kStartByte);
  EXPECT_EQ(run(s), std::vector<uint8_t>{0x55});

  demodulator.start(clock, 44100, false);
  Spikes broken;
  broken.preamble(2).frame(0x00, 130);
  run(broken);
  EXPECT_EQ(demodulator.preamble_count(), 0);
}

TEST_F(BeepDemodulatorTest, SilenceEndsTheReception) {
  std::vector<uint8_t> silence(5016, 128);
  ByteBatch batch;
  clock.advance(20000);
  EXPECT_EQ(demodulator.demodulate(silence.data(), silence.size(), batch, false), 1);
  EXPECT_EQ(demodulator.level(), 0);
  clock.advance(1);
  EXPECT_EQ(demodulator.demodulate(silence.data(), silence.size(), batch, false), 0);
  EXPECT_EQ(batch.count, 0u);

  // Once the header is in, 2 000 ms between bytes are the limit.
  demodulator.start(clock, 44100, false);
  clock.advance(2000);
  EXPECT_EQ(demodulator.demodulate(silence.data(), silence.size(), batch, true), 1);
  clock.advance(1);
  EXPECT_EQ(demodulator.demodulate(silence.data(), 1, batch, true), 0);
}

TEST_F(BeepDemodulatorTest, TheLevelFollowsTheSignalPeak) {
  ByteBatch batch;
  const uint8_t loud = 192;
  demodulator.demodulate(&loud, 1, batch, false);
  EXPECT_EQ(demodulator.level(), 50);  // (192 - 128) x 100 / 128
  // Within a millisecond the peak holds; after it, it drops by a tenth of its height and one.
  const uint8_t quiet = 128;
  clock.advance(1);
  demodulator.demodulate(&quiet, 1, batch, false);
  EXPECT_EQ(demodulator.level(), 50);
  clock.advance(1);
  demodulator.demodulate(&quiet, 1, batch, false);
  EXPECT_EQ(demodulator.level(), 44);  // 192 - 7 = 185
}

}  // namespace
}  // namespace quibra::sound

// The receiving band-pass filter: the coefficient set by unit type and rate, hand-worked first
// outputs (truncation, wrap-around, 127 made 128), and which beeps it lets through.
#include "sound/bandpass_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quibra::sound {
namespace {

TEST(BandpassFilter, FirstOutputsByHand) {
  BandpassFilter f;
  f.select(6, 22050);
  // x = 127: y0 = 0.02383588663506 x 127 = 3.02716; 20 y0 + 128 = 188.54 -> 188.
  // x = 0: y1 = -a1 y0 = -8.69792; 20 y1 + 128 = -45.96 -> -45, whose low byte is 211.
  std::vector<uint8_t> s = {255, 128};
  f.filter(s.data(), s.size(), 20);
  EXPECT_EQ(s, (std::vector<uint8_t>{188, 211}));

  // At 44 100 Hz one step below silence with gain 2 gives 127.9965, truncated to 127, which the
  // filter never emits: 128.
  f.select(22, 44100);
  s = {127};
  f.filter(s.data(), 1, 2);
  EXPECT_EQ(s[0], 128);

  // Gain 0 outputs silence whatever comes in.
  f.select(22, 44100);
  s = {0, 255, 0, 255};
  f.filter(s.data(), s.size(), 0);
  EXPECT_EQ(s, (std::vector<uint8_t>(4, 128)));
}

// Peak distance from silence of a filtered tone, after the filter has settled.
int filtered_peak(int32_t type, int32_t rate, double hz) {
  BandpassFilter f;
  f.select(type, rate);
  std::vector<uint8_t> s(static_cast<size_t>(rate / 10));
  for (size_t n = 0; n < s.size(); ++n)
    s[n] = static_cast<uint8_t>(
        std::lround(128 + 10 * std::sin(2 * std::numbers::pi * hz * n / rate)));
  // Split in two blocks: the history carries over.
  f.filter(s.data(), s.size() / 2, 4);
  f.filter(s.data() + s.size() / 2, s.size() - s.size() / 2, 4);
  int peak = 0;
  for (size_t n = s.size() / 2; n < s.size(); ++n)
    peak = std::max(peak, std::abs(s[n] - 128));
  return peak;
}

// The beeps of each unit pass at the gain (the receiver tests hear every unit at every rate); the
// other units' beeps and low sounds do not. Amplitude 10 with gain 4: about 40 in the pass band.
TEST(BandpassFilter, PassesTheUnitsBeepsOnly) {
  EXPECT_NEAR(filtered_peak(22, 44100, 4150), 40, 4);
  EXPECT_LT(filtered_peak(22, 44100, 8450), 8);
  EXPECT_LT(filtered_peak(22, 44100, 1000), 4);
  EXPECT_LT(filtered_peak(6, 44100, 4150), 8);
  EXPECT_LT(filtered_peak(10, 22050, 4250), 8);
  // Any rate other than 22 050 records at 44 100.
  EXPECT_EQ(&SelectBandpass(6, 48000), &SelectBandpass(6, 44100));
}

}  // namespace
}  // namespace quibra::sound

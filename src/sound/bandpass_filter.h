// The band-pass filter in front of the sound demodulator: a fourth-order IIR in direct form I
// whose pass band is where a unit's beeps lie. The units of types 6 and 10 beep near 8.5 kHz,
// every other unit near 4.2 kHz; each sample rate has its own coefficients.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quibra::sound {

// y[n] = g (x[n] - 2 x[n-2] + x[n-4]) - a1 y[n-1] - a2 y[n-2] - a3 y[n-3] - a4 y[n-4].
struct BandpassCoefficients {
  int32_t sample_rate;
  int32_t monitor_type;  // 0: every type without a row of its own at this rate
  double g, a1, a2, a3, a4;
};

// The set for a unit type and a sample rate (any rate other than 22 050 counts as 44 100).
const BandpassCoefficients& SelectBandpass(int32_t monitor_type, int32_t sample_rate);

class BandpassFilter {
 public:
  // Picks the coefficients and clears the history.
  void select(int32_t monitor_type, int32_t sample_rate);
  // Filters 8-bit unsigned samples (128 = silence) in place. The history carries over from
  // block to block. Each output is the low 8 bits of gain y + 128 truncated toward zero, not
  // clamped, and 127 becomes 128.
  void filter(uint8_t* samples, size_t count, int32_t gain);

 private:
  const BandpassCoefficients* set_ = &SelectBandpass(0, 44100);
  double x_[4] = {};  // past inputs, newest first
  double y_[4] = {};  // past outputs, newest first
};

}  // namespace quibra::sound

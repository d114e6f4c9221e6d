#include "sound/bandpass_filter.h"

#include <cstring>

namespace quibra::sound {
namespace {

// Peak gain 1 in every set. Pass bands (-3 dB): 44 100 Hz: types 6 and 10 about 8.1-8.8 kHz,
// type 9 about 3.9-4.6 kHz, the others about 3.8-4.5 kHz; 22 050 Hz: types 6 and 10 about
// 8.0-9.4 kHz, the others about 3.9-4.6 kHz. The first row of a rate is its default.
constexpr BandpassCoefficients kSets[] = {
    {44100, 0, 0.00172652116573, -3.23677479332537, 4.51853838362727, -3.07641733222019,
     0.90348722441647},
    {44100, 6, 0.00172652116573, -1.39844567474228, 2.38567972610245, -1.3291633760919,
     0.90348722441647},
    {44100, 10, 0.00172652116573, -1.39844567474228, 2.38567972610245, -1.3291633760919,
     0.90348722441647},
    {44100, 9, 0.00172652116573, -3.20548472660274, 4.46808234861419, -3.04667744923843,
     0.90348722441647},
    {22050, 0, 0.00656965607816, -1.33719838056394, 2.23787791003449, -1.20774877236144,
     0.81661081220358},
    {22050, 6, 0.02383588663506, 2.87329581770173, 3.66721351448369, 2.34020798974169,
     0.66900967138392},
    {22050, 10, 0.02383588663506, 2.87329581770173, 3.66721351448369, 2.34020798974169,
     0.66900967138392},
};

// gain y + 128 truncated toward zero, kept to its low 8 bits. Values beyond the 64-bit range
// cannot come from a stable filter; they are held at its edge rather than converted unchecked.
uint8_t output_byte(double value) {
  constexpr double kEdge = 9.0e18;
  if (!(value > -kEdge)) value = -kEdge;
  if (value > kEdge) value = kEdge;
  const auto byte = static_cast<uint8_t>(static_cast<int64_t>(value) & 0xFF);
  return byte == 127 ? 128 : byte;
}

}  // namespace

const BandpassCoefficients& SelectBandpass(int32_t monitor_type, int32_t sample_rate) {
  const int32_t rate = sample_rate == 22050 ? 22050 : 44100;
  const BandpassCoefficients* fallback = nullptr;
  for (const BandpassCoefficients& set : kSets) {
    if (set.sample_rate != rate) continue;
    if (set.monitor_type == monitor_type && monitor_type != 0) return set;
    if (!fallback) fallback = &set;
  }
  return *fallback;
}

void BandpassFilter::select(int32_t monitor_type, int32_t sample_rate) {
  set_ = &SelectBandpass(monitor_type, sample_rate);
  std::memset(x_, 0, sizeof x_);
  std::memset(y_, 0, sizeof y_);
}

void BandpassFilter::filter(uint8_t* samples, size_t count, int32_t gain) {
  const BandpassCoefficients& c = *set_;
  for (size_t n = 0; n < count; ++n) {
    const double x = static_cast<double>(samples[n]) - 128.0;
    // b = (g, 0, -2g, 0, g)
    const double y =
        c.g * (x - 2.0 * x_[1] + x_[3]) - c.a1 * y_[0] - c.a2 * y_[1] - c.a3 * y_[2] - c.a4 * y_[3];
    x_[3] = x_[2];
    x_[2] = x_[1];
    x_[1] = x_[0];
    x_[0] = x;
    y_[3] = y_[2];
    y_[2] = y_[1];
    y_[1] = y_[0];
    y_[0] = y;
    samples[n] = output_byte(gain * y + 128.0);
  }
}

}  // namespace quibra::sound

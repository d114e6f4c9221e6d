#include "sound/tonvox_receiver.h"

namespace quibra::sound {

int32_t ReceptionSampleRate(int32_t requested) {
  return requested == 22050 ? 22050 : 44100;
}

int32_t ReceptionGain(int32_t gain_level) {
  return gain_level >= 1 && gain_level <= 10 ? 2 * gain_level : 0;
}

void TonvoxReceiver::start(platform::Clock& clock, int32_t monitor_type, int32_t sample_rate,
                           int32_t gain_level, bool ignore_errors, bool debug_dump) {
  sample_rate_ = ReceptionSampleRate(sample_rate);
  gain_ = ReceptionGain(gain_level);
  ignore_errors_ = ignore_errors;
  batch_.count = 0;
  filter_.select(monitor_type, sample_rate_);
  demodulator_.start(clock, sample_rate_, debug_dump);
  assembler_.start(monitor_type, debug_dump);
}

TonvoxReceiver::Step TonvoxReceiver::receive(const uint8_t* samples, size_t count) {
  if (!demodulator_.demodulate(samples, count, batch_, assembler_.header_received()))
    return Step::kSilent;
  if (batch_.count > 0 && !assembler_.assemble(batch_, ignore_errors_)) return Step::kRejected;
  return Step::kListening;
}

void TonvoxReceiver::close_dumps() {
  demodulator_.close_dumps();
  assembler_.close_dumps();
}

}  // namespace quibra::sound

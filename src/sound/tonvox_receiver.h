// The receiving chain of a sound download, block by block: the band-pass filter, then the beep
// demodulator and the packet assembler. The capture side filters each recorded block and runs
// the rest under its chain lock; this class holds the state they share, which stays after a
// reception until the next one starts so that the assembled data can be copied out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/clock.h"
#include "sound/bandpass_filter.h"
#include "sound/beep_demodulator.h"
#include "sound/packet_assembler.h"

namespace quibra::sound {

// The sample rates a reception records at: 22 050 when asked for exactly that, else 44 100.
int32_t ReceptionSampleRate(int32_t requested);
// The filter's output gain for a gain level: twice the level for 1..10, else 0 (silence).
int32_t ReceptionGain(int32_t gain_level);

class TonvoxReceiver {
 public:
  enum class Step {
    kListening,  // the block was taken
    kSilent,     // the unit fell silent
    kRejected,   // the header or a block was bad
  };

  // Selects the filter and clears the demodulator and the assembler. With debug dumps the
  // demodulator and the assembler create their dump files in the current directory.
  void start(platform::Clock& clock, int32_t monitor_type, int32_t sample_rate, int32_t gain_level,
             bool ignore_errors, bool debug_dump);
  // Filters recorded samples in place.
  void filter(uint8_t* samples, size_t count) { filter_.filter(samples, count, gain_); }
  // Demodulates filtered samples and hands the bytes to the assembler.
  Step receive(const uint8_t* samples, size_t count);
  // Both, for a caller without a lock between them.
  Step process(uint8_t* samples, size_t count) {
    filter(samples, count);
    return receive(samples, count);
  }
  // Percent of the announced data received (0..100).
  uint32_t progress() { return assembler_.progress(&demodulator_.detect_dump()); }
  int32_t level() const { return demodulator_.level(); }
  void close_dumps();

  const BeepDemodulator& demodulator() const { return demodulator_; }
  const PacketAssembler& assembler() const { return assembler_; }
  int32_t sample_rate() const { return sample_rate_; }
  int32_t gain() const { return gain_; }

 private:
  BandpassFilter filter_;
  BeepDemodulator demodulator_;
  PacketAssembler assembler_;
  ByteBatch batch_;
  int32_t sample_rate_ = 44100;
  int32_t gain_ = 0;
  bool ignore_errors_ = false;
};

}  // namespace quibra::sound

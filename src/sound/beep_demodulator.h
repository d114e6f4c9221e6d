// The demodulator of a unit's sound download. Every byte is a frame of short beeps: a reference
// beep, then for each set bit k a beep (k + 1) x 2 ms after it, bit 0 first; the frame is read
// when its reference beep is 20 ms old. The demodulator follows the energy of the filtered
// sound, keeps a list of the energy peaks (pulses) of the last 20 ms, reads complete frames
// into bytes and synchronises on a preamble of at least three 0xAA frames and the start byte
// 0x55. It also tracks the signal peak for the level meter.
//
// Everything is fixed-size: nothing is allocated while samples are processed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/clock.h"
#include "sound/dump_file.h"

namespace quibra::sound {

// The sample counts that follow from the sample rate (22 050 or 44 100; any other rate counts as
// 44 100). A slot is 2 ms.
struct BeepTiming {
  uint32_t slot;           // 2 x (rate / 1000)
  uint32_t ring_length;    // filtered samples kept: two slots
  uint32_t energy_window;  // samples summed for one energy value: a third of a slot
  uint32_t peak_window;    // energy values searched for a peak: three quarters of a slot
  uint32_t peak_centre;    // the age at which a peak is taken: half the peak window
  uint32_t frame_length;   // ten slots
  std::array<uint32_t, 8> bit_limits;  // (k + 1) slots and a half
  static BeepTiming ForRate(int32_t sample_rate);
};

inline constexpr size_t kEnergyRingLength = 5016;
inline constexpr size_t kMaxPulses = 30;
inline constexpr size_t kMaxSampleRing = 176;  // two slots at 44 100 Hz
inline constexpr size_t kMaxPeakWindow = 66;   // three quarters of a slot at 44 100 Hz
inline constexpr size_t kBatchCapacity = 200;
inline constexpr uint8_t kPreambleByte = 0xAA;
inline constexpr uint8_t kStartByte = 0x55;
inline constexpr int kPreambleFrames = 3;
// Silence that ends a reception: before the header, and between bytes after it.
inline constexpr uint32_t kHuntingSilenceMs = 20000;
inline constexpr uint32_t kReceivingSilenceMs = 2000;

// Bytes handed from the demodulator to the packet assembler.
struct ByteBatch {
  std::array<uint8_t, kBatchCapacity> bytes{};
  size_t count = 0;
  void append(uint8_t b) {
    if (count < bytes.size()) bytes[count++] = b;  // a block yields a handful of bytes at most
  }
};

class BeepDemodulator {
 public:
  // Derives the timing, clears every ring, list and counter, and starts the silence clock (the
  // clock is kept until the next start). With
  // debug dumps it creates "Normalized2Out.dat", "BitFile.dat", "Devifile.dat" and
  // "Detectfile.dat".
  void start(platform::Clock& clock, int32_t sample_rate, bool debug_dump);
  // Runs the filtered samples through the detector and appends the bytes read after
  // synchronisation (the start byte first) to the batch. header_received selects the silence
  // limit. 1, or 0 when the unit fell silent (the rest of the samples is not processed).
  int demodulate(const uint8_t* samples, size_t count, ByteBatch& batch, bool header_received);
  // Closes the dump files.
  void close_dumps();

  // The signal level in percent: 0 while the signal peak is below 128.
  int32_t level() const;
  bool synchronised() const { return synchronised_; }
  uint32_t energy_threshold() const { return threshold_; }
  int preamble_count() const { return preamble_count_; }
  const BeepTiming& timing() const { return timing_; }
  // The whole energy ring, in ring order, for the reception's dump.
  const std::array<uint32_t, kEnergyRingLength>& energy_ring() const { return energy_; }
  // The progress dump ("Detectfile.dat"): a line each time the reception computes its figure,
  // after every block once a total is known.
  DumpFile& detect_dump() { return detect_dump_; }

 private:
  struct Pulse {
    uint32_t energy;
    uint32_t time;  // the sample counter when the peak was taken
  };

  void track_level(uint8_t sample, uint32_t now);
  uint32_t store_energy(uint8_t sample);
  void detect_peak(uint32_t energy);
  size_t candidate_back() const {
    return (candidate_front_ + candidate_count_ - 1) % kMaxPeakWindow;
  }
  void age_pulses();
  void read_frame(ByteBatch& batch, uint32_t now);
  void deliver(uint8_t byte, uint32_t emax, ByteBatch& batch, uint32_t now);
  void add_pulse(uint32_t energy);

  platform::Clock* clock_ = nullptr;
  BeepTiming timing_ = BeepTiming::ForRate(44100);
  uint32_t counter_ = 0;
  std::array<uint8_t, kMaxSampleRing> ring_{};
  size_t ring_pos_ = 0;
  uint32_t window_sum_ = 0;  // sum of |r - 128| over the energy window
  std::array<uint32_t, kEnergyRingLength> energy_{};
  size_t energy_pos_ = 0;
  std::array<Pulse, kMaxPulses> pulses_{};  // newest first
  // The peak window's candidates for its maximum (energy, number of the energy), falling from
  // the front. The numbers count every energy and, unlike counter_, never restart.
  std::array<Pulse, kMaxPeakWindow> candidates_{};
  size_t candidate_front_ = 0;
  size_t candidate_count_ = 0;
  uint32_t energy_count_ = 0;
  size_t pulse_count_ = 0;
  uint32_t threshold_ = 0;
  int preamble_count_ = 0;
  bool synchronised_ = false;
  uint32_t last_activity_ = 0;
  uint32_t peak_ = 0;
  uint32_t peak_time_ = 0;
  bool dumping_ = false;
  DumpFile normalized_dump_, bit_dump_, deviation_dump_, detect_dump_;
};

}  // namespace quibra::sound

#include "sound/beep_demodulator.h"

#include <cstdlib>

namespace quibra::sound {
namespace {

constexpr uint32_t kEnergyScale = 10000;
// The strongest pulse of a frame must exceed this energy for the frame to be read.
constexpr uint32_t kFrameEnergyFloor = 10000;

uint32_t distance_from_silence(uint8_t sample) {
  return static_cast<uint32_t>(std::abs(static_cast<int>(sample) - 128));
}

}  // namespace

BeepTiming BeepTiming::ForRate(int32_t sample_rate) {
  const uint32_t rate = sample_rate == 22050 ? 22050 : 44100;
  BeepTiming t{};
  t.slot = 2 * (rate / 1000);
  t.ring_length = 2 * t.slot;
  t.energy_window = t.slot / 3;
  t.peak_window = (3 * t.slot) / 4;
  t.peak_centre = t.peak_window / 2;
  t.frame_length = 10 * t.slot;
  for (uint32_t k = 0; k < 8; ++k)
    t.bit_limits[k] = (k + 1) * t.slot + t.slot / 2;
  return t;
}

void BeepDemodulator::start(platform::Clock& clock, int32_t sample_rate, bool debug_dump) {
  clock_ = &clock;
  timing_ = BeepTiming::ForRate(sample_rate);
  counter_ = 0;
  // The sample ring starts as silence, so that the first energies measure the sound alone.
  ring_.fill(128);
  ring_pos_ = 0;
  window_sum_ = 0;
  energy_.fill(0);
  energy_pos_ = 0;
  pulse_count_ = 0;
  candidate_front_ = candidate_count_ = 0;
  energy_count_ = 0;
  threshold_ = 0;
  preamble_count_ = 0;
  synchronised_ = false;
  peak_ = 0;
  peak_time_ = last_activity_ = clock.tick_ms();
  close_dumps();
  dumping_ = debug_dump;
  if (dumping_) {
    normalized_dump_.create("Normalized2Out.dat");  // stays empty
    bit_dump_.create("BitFile.dat");
    deviation_dump_.create("Devifile.dat");  // stays empty
    detect_dump_.create("Detectfile.dat");
  }
}

void BeepDemodulator::close_dumps() {
  normalized_dump_.close();
  bit_dump_.close();
  deviation_dump_.close();
  detect_dump_.close();
}

int32_t BeepDemodulator::level() const {
  if (peak_ < 128) return 0;
  return static_cast<int32_t>(((peak_ - 128) * 100) / 128);
}

void BeepDemodulator::track_level(uint8_t sample, uint32_t now) {
  if (sample > peak_) {
    peak_ = sample;
    peak_time_ = now;
  } else if (now - peak_time_ > 1) {
    const uint32_t drop = (peak_ - sample) / 10 + 1;
    peak_ = drop > peak_ ? 0 : peak_ - drop;  // a peak of 0 over silence of 0 stays 0
    peak_time_ = now;
  }
}

uint32_t BeepDemodulator::store_energy(uint8_t sample) {
  const size_t length = timing_.ring_length;
  ring_pos_ = (ring_pos_ + 1) % length;
  // The sample leaving the window lies energy_window places back and is still in the ring.
  const size_t leaving = (ring_pos_ + length - timing_.energy_window) % length;
  window_sum_ -= distance_from_silence(ring_[leaving]);
  ring_[ring_pos_] = sample;
  window_sum_ += distance_from_silence(sample);
  const uint32_t energy = kEnergyScale * window_sum_;
  energy_[energy_pos_] = energy;
  return energy;
}

void BeepDemodulator::add_pulse(uint32_t energy) {
  const size_t kept = pulse_count_ < kMaxPulses ? pulse_count_ : kMaxPulses - 1;
  for (size_t i = kept; i > 0; --i)
    pulses_[i] = pulses_[i - 1];
  pulses_[0] = Pulse{energy, counter_};
  pulse_count_ = kept + 1;
}

void BeepDemodulator::detect_peak(uint32_t energy) {
  // The largest of the latest peak-window energies: of equal values the newest wins, and an
  // all-zero window gives age 0. The candidates are kept in a queue of falling energies: a new
  // energy retires every older one that is not larger, and the front leaves the window by age.
  const uint32_t sequence = ++energy_count_;
  while (candidate_count_ > 0 && candidates_[candidate_back()].energy <= energy)
    --candidate_count_;
  candidates_[(candidate_front_ + candidate_count_) % kMaxPeakWindow] = {energy, sequence};
  ++candidate_count_;
  if (sequence - candidates_[candidate_front_].time >= timing_.peak_window) {
    candidate_front_ = (candidate_front_ + 1) % kMaxPeakWindow;
    --candidate_count_;
  }
  energy_pos_ = (energy_pos_ + 1) % kEnergyRingLength;
  const Pulse& maximum = candidates_[candidate_front_];
  if (sequence - maximum.time != timing_.peak_centre) return;
  if (synchronised_ && maximum.energy <= threshold_) return;
  add_pulse(maximum.energy);
}

void BeepDemodulator::age_pulses() {
  while (pulse_count_ > 0 && counter_ - pulses_[pulse_count_ - 1].time > timing_.frame_length)
    --pulse_count_;
}

void BeepDemodulator::read_frame(ByteBatch& batch, uint32_t now) {
  if (pulse_count_ == 0) return;
  uint32_t emax = pulses_[0].energy;
  for (size_t i = 1; i < pulse_count_; ++i)
    if (pulses_[i].energy > emax) emax = pulses_[i].energy;
  if (synchronised_) {
    // Unsigned on purpose, as the units' receivers have always done it.
    if (emax > 3 * threshold_)
      ++threshold_;
    else
      --threshold_;
  }
  const uint32_t half = emax >> 1;
  const Pulse& reference = pulses_[pulse_count_ - 1];
  if (reference.energy <= half || counter_ - reference.time != timing_.frame_length ||
      emax <= kFrameEnergyFloor)
    return;

  uint8_t byte = 0;
  for (size_t i = 0; i + 1 < pulse_count_; ++i) {
    if (pulses_[i].energy <= half) continue;
    const uint32_t d = pulses_[i].time - reference.time;
    for (uint32_t k = 0; k < 8; ++k) {
      if (d < timing_.bit_limits[k]) {
        byte |= static_cast<uint8_t>(1u << k);
        break;
      }
    }
  }
  deliver(byte, emax, batch, now);
}

void BeepDemodulator::deliver(uint8_t byte, uint32_t emax, ByteBatch& batch, uint32_t now) {
  if (synchronised_) {
    batch.append(byte);
    last_activity_ = now;
    pulse_count_ = 0;
    if (dumping_) {
      uint8_t bits[8];
      for (int k = 0; k < 8; ++k)
        bits[k] = (byte >> k) & 1;
      bit_dump_.write(bits, sizeof bits);
    }
    return;
  }
  if (preamble_count_ < kPreambleFrames) {
    if (byte == kPreambleByte) {
      ++preamble_count_;
      pulse_count_ = 0;
      threshold_ += emax;
    } else {
      preamble_count_ = 0;
      threshold_ = 0;
    }
    return;
  }
  if (byte != kStartByte) return;
  synchronised_ = true;
  counter_ = 0;
  threshold_ /= 9;
  pulse_count_ = 0;
  batch.append(kStartByte);
  last_activity_ = now;
}

int BeepDemodulator::demodulate(const uint8_t* samples, size_t count, ByteBatch& batch,
                                bool header_received) {
  if (clock_ == nullptr) return 1;  // not started: nothing to listen for
  const uint32_t silence_limit = header_received ? kReceivingSilenceMs : kHuntingSilenceMs;
  // One clock reading per block: the silence limits and the level meter count in
  // milliseconds, and a block is processed in far less than one.
  const uint32_t now = clock_->tick_ms();
  for (size_t n = 0; n < count; ++n) {
    ++counter_;
    if (now - last_activity_ > silence_limit) return 0;
    const uint8_t sample = samples[n];
    const uint32_t energy = store_energy(sample);
    track_level(sample, now);
    detect_peak(energy);
    age_pulses();
    read_frame(batch, now);
  }
  return 1;
}

}  // namespace quibra::sound

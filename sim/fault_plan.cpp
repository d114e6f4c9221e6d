#include "fault_plan.h"

#include <algorithm>

namespace quibra::sim {

namespace {
// The wave's samples start after its header; 128 is silence.
constexpr size_t kWaveHeader = 44;
constexpr uint8_t kSilence = 128;
// One symbol of the unit's sound is 441 samples: stretches of a few symbols at most.
constexpr int kLongestStretch = 2000;
}  // namespace

const char* LineFaultName(LineFault fault) {
  constexpr const char* kNames[] = {"none", "drop", "flip", "noise", "delay", "close", "reset"};
  return kNames[static_cast<size_t>(fault)];
}

FaultPlan::FaultPlan(uint32_t seed, int one_in, std::chrono::milliseconds max_delay, bool terminal)
    : random_(seed), one_in_(std::max(one_in, 1)), max_delay_(max_delay), terminal_(terminal) {}

LineFault FaultPlan::draw(bool line) {
  // The faults that end a conversation are rarer than the ones a retry mends.
  const int roll = below(100);
  if (terminal_ && roll < 4) return LineFault::Close;
  if (terminal_ && line && roll < 8) return LineFault::Reset;
  if (roll < 35) return LineFault::Flip;
  if (roll < 60 || !line) return LineFault::Drop;
  if (roll < 80) return LineFault::Noise;
  return LineFault::Delay;
}

void FaultPlan::note(LineFault fault) {
  if (!log_.empty()) log_ += ' ';
  log_ += LineFaultName(fault);
  log_ += '@' + std::to_string(chunks_);
  ++struck_;
}

FaultPlan::Passage FaultPlan::pass(std::span<const uint8_t> chunk) {
  Passage out{{chunk.begin(), chunk.end()}};
  if (chunk.empty()) return out;
  if (strikes()) {
    out.fault = draw(true);
    note(out.fault);
    const int size = static_cast<int>(chunk.size());
    switch (out.fault) {
      case LineFault::Drop: {
        // A stretch of the chunk is lost: from one byte to all of it.
        const int from = below(size);
        const int count = 1 + below(size - from);
        out.bytes.erase(out.bytes.begin() + from, out.bytes.begin() + from + count);
        break;
      }
      case LineFault::Flip:
        out.bytes[static_cast<size_t>(below(size))] ^= static_cast<uint8_t>(1u << below(8));
        break;
      case LineFault::Noise: {
        // Up to eight bytes of anything, the frame start bytes included, anywhere in the chunk.
        std::vector<uint8_t> noise(static_cast<size_t>(1 + below(8)));
        for (uint8_t& b : noise)
          b = static_cast<uint8_t>(below(256));
        out.bytes.insert(out.bytes.begin() + below(size + 1), noise.begin(), noise.end());
        break;
      }
      case LineFault::Delay:
        out.delay = std::chrono::milliseconds(below(static_cast<int>(max_delay_.count()) + 1));
        break;
      case LineFault::Close:
        out.bytes.resize(static_cast<size_t>(below(size + 1)));  // part of it got through
        break;
      case LineFault::Reset:
        out.bytes.clear();
        out.delay = std::chrono::milliseconds(below(static_cast<int>(max_delay_.count()) + 1));
        break;
      case LineFault::None:
        break;
    }
  }
  ++chunks_;
  return out;
}

LineFault FaultPlan::on_air() {
  LineFault fault = LineFault::None;
  if (strikes()) {
    fault = draw(false);
    note(fault);
  }
  ++chunks_;
  return fault;
}

void FaultPlan::disturb_wave(std::vector<uint8_t>& wave_file) {
  if (wave_file.size() <= kWaveHeader) return;
  const int samples = static_cast<int>(wave_file.size() - kWaveHeader);
  // One chance per second of sound (44 100 samples), at least one.
  const int chances = 1 + samples / 44100;
  for (int i = 0; i < chances; ++i, ++chunks_) {
    if (!strikes()) continue;
    const bool dropout = below(2) == 0;
    note(dropout ? LineFault::Drop : LineFault::Noise);
    const int from = below(samples);
    const int count = std::min(1 + below(kLongestStretch), samples - from);
    const int loudness = 1 + below(127);
    for (int s = from; s < from + count; ++s) {
      uint8_t& sample = wave_file[kWaveHeader + static_cast<size_t>(s)];
      sample =
          dropout ? kSilence : static_cast<uint8_t>(sample + below(2 * loudness + 1) - loudness);
    }
  }
}

}  // namespace quibra::sim

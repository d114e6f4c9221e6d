// A seeded plan of line faults: everything a trial does to the line between the library and a
// simulated unit follows from one seed, so a trial that went wrong is run again exactly by its
// seed. The plan decides, chunk by chunk (whatever one read of the line gave) or frame by frame
// on the air, whether a fault strikes and which: bytes lost, a bit flipped, noise inserted, a
// delay up to the library's time-outs, the line closing for good, the unit resetting.
//
// Threads: one plan serves one line, and its user calls it from one thread at a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace quibra::sim {

enum class LineFault : uint8_t { None, Drop, Flip, Noise, Delay, Close, Reset };

// The name of a fault in trial logs ("drop", "flip", ...).
const char* LineFaultName(LineFault fault);

class FaultPlan {
 public:
  // About one chunk in `one_in` is struck. A delay lasts up to max_delay; closing the line and
  // resetting the unit end a conversation, so they are drawn only when `terminal` allows them.
  FaultPlan(uint32_t seed, int one_in, std::chrono::milliseconds max_delay, bool terminal = true);

  // What becomes of one chunk on its way: the bytes that arrive, after how long, and whether
  // the line closes or the unit resets before (or instead of) them.
  struct Passage {
    std::vector<uint8_t> bytes;
    std::chrono::milliseconds delay{0};
    LineFault fault = LineFault::None;
  };
  Passage pass(std::span<const uint8_t> chunk);

  // The fault that strikes the next frame on the air (None, Drop, Flip or Close, the link lost).
  LineFault on_air();

  // Disturbs the samples of an 8-bit wave file after its 44-byte header: a dropout (silence) or
  // noise over a stretch of samples, for each fault the plan draws.
  void disturb_wave(std::vector<uint8_t>& wave_file);

  // Every fault that struck, in order ("flip@3" is a flip on the fourth chunk).
  const std::string& log() const { return log_; }
  int struck() const { return struck_; }
  std::chrono::milliseconds max_delay() const { return max_delay_; }

 private:
  bool strikes() { return std::uniform_int_distribution<int>(1, one_in_)(random_) == 1; }
  LineFault draw(bool line);
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  void note(LineFault fault);

  std::mt19937 random_;
  const int one_in_;
  const std::chrono::milliseconds max_delay_;
  const bool terminal_;
  int chunks_ = 0;
  int struck_ = 0;
  std::string log_;
};

}  // namespace quibra::sim

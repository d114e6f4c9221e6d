// A unit in online mode on a pseudo-terminal: it streams one 4-byte frame per heartbeat from a
// heart-rate script, as a unit does while an exercise runs. A frame is 0x50 | sequence number
// (0..15), the beat's time stamp in 1/1024 s (16 bits, low byte first, wrapping) and a CRC-8
// (generator 0x87, augmented form) that makes the check over the four bytes come out 0.
//
// The script says what happens beat by beat: a beat sent, a beat the unit missed (no frame; the
// next frame's interval spans it), a frame lost on the line or corrupted (the sequence number
// moves on), or a silence. The streamer plays it in real time times a scale, so a test that
// scales the library's clock plays a long recording in a fraction of its length; paced, each
// frame's bytes go out at the line's byte rate.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace quibra::sim {

enum class BeatStep : uint8_t {
  Beat,       // a beat `ms` after the one before; its frame is sent
  Missed,     // a beat the unit did not detect: no frame, no sequence number
  Dropped,    // a frame the unit sent that the line lost
  Corrupted,  // a frame that arrives with a wrong check byte
  Silence,    // the unit sends nothing for `ms`; the next beat comes that much later
};

struct ScriptStep {
  BeatStep step = BeatStep::Beat;
  int32_t ms = 0;
};

struct BeatScript {
  std::vector<ScriptStep> steps;

  BeatScript& steady(int beats, int32_t interval_ms);
  // Intervals moving evenly from one value to the other (a rising heart rate: falling values).
  BeatScript& ramp(int beats, int32_t from_ms, int32_t to_ms);
  BeatScript& then(BeatStep step, int32_t ms);

  // The total length of the script in ms.
  int64_t length_ms() const;
  // The intervals a receiver that works as it should stores: one per frame after the first,
  // except the one that follows a lost or corrupted frame (it spans more than one beat). With
  // correct_missed, an interval near two or three times the one before is stored as two or
  // three beats (h-3, h+3 for twice; t-2, t+3, t-1 for three times, h and t the rounded half
  // and third).
  std::vector<int32_t> expected(bool correct_missed) const;
  // The number of frames sent that are lost or corrupted.
  int lost_frames() const;
};

// Time stamp ticks for an interval: the smallest count whose length truncated to ms is the
// interval, so that each single interval arrives exactly as scripted.
int32_t TicksOfInterval(int32_t ms);
// The CRC-8 register over the bytes (0 for a frame closed by its check byte).
uint8_t BeatFrameCrc(const uint8_t* bytes, size_t count);

class BeatStreamer {
 public:
  // scale: real seconds per scripted second (0.01 plays 10 minutes in 6 s).
  explicit BeatStreamer(double scale = 1.0, bool paced = false);
  ~BeatStreamer();
  BeatStreamer(const BeatStreamer&) = delete;
  BeatStreamer& operator=(const BeatStreamer&) = delete;

  // Opens the pseudo-terminal pair: the device path the library opens, empty on failure.
  std::string start();
  // Plays the script on a thread of its own (once the library listens).
  void play(BeatScript script);
  // Waits until the script has been played.
  void wait();
  // Stops playing and closes the pair. Safe to call twice.
  void stop();

  // Frames written so far.
  int frames_sent() const { return frames_sent_.load(); }

 private:
  void run(BeatScript script);
  void write_frame(const uint8_t* frame);

  const double scale_;
  const bool paced_;
  int master_ = -1;
  int slave_ = -1;
  std::atomic<bool> stop_requested_{false};
  std::atomic<int> frames_sent_{0};
  std::thread thread_;
};

}  // namespace quibra::sim

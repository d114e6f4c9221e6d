// The online receive thread: in online mode the link carries no messages. The unit (or the
// wireless-link library) streams beats, and this thread turns them into beat-to-beat intervals
// on a recording clock and hands them to the online recording, which keeps them for the
// application and in the exercise.
//
// It takes the place of the message thread (the engine's thread slot, so ending and unloading
// wait for it the same way) and runs until the stop flag (2002) is set or the link fails.
#pragma once

#include <atomic>
#include <cstdint>

#include "protocol/online_frames.h"

namespace quibra::protocol {

// Kinds of the samples the thread stores.
inline constexpr int32_t kSampleBeat = 0;
inline constexpr int32_t kSampleShortSilence = 3;  // no data for less than 1.5 s
inline constexpr int32_t kSampleLongSilence = 4;   // no data for 1.5 s or more

// Where the beats go: the online recording of the exercise layer, installed at load.
class OnlineSamples {
 public:
  virtual ~OnlineSamples() = default;
  // A new online exercise in the record store, the ring kept.
  virtual void prepare() = 0;
  // The ring emptied and a new online exercise, recording not yet begun.
  virtual void reset() = 0;
  // One beat interval (missed-beat correction applies); recorded marks a beat taken while the
  // recording runs (not paused).
  virtual void beat(int32_t time_ms, bool recorded, int32_t interval_ms) = 0;
  // A sample that carries no beat: a silence (kinds 3 and 4) or a state of the wireless link.
  virtual void no_data(int32_t time_ms, int32_t kind) = 0;
  // The recording ended: its duration is fixed.
  virtual void finish() = 0;
};

struct OnlineReceiver {
  OnlineSamples* samples = nullptr;
  // The recording clock: ms of recording (it stands while paused) and the counter value it was
  // last advanced at.
  std::atomic<int32_t> clock_ms{0};
  std::atomic<uint64_t> clock_base{0};
  std::atomic<uint64_t> frequency{0};
};

// Starts the online thread unless a communication thread runs; the link (port or wireless
// device) must be open. Marks the engine running and the recording paused, and resets the
// online samples (not on the wireless link, whose opening did that) before it returns.
void StartOnlineThread();

// The recording clock starts again from 0 now (the first resume of a recording).
void RestartRecordingClock();

// A silence of this long or more is a long one.
inline constexpr uint32_t kLongSilenceMs = 1500;

}  // namespace quibra::protocol

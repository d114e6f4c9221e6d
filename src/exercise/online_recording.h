// Online recording: the beats the online thread receives, kept in the ring for a polling
// application and appended to the exercise in the record store (record 0) as R-R samples, with
// the laps the application marks. The stored exercise is then saved like a downloaded one.
//
// The ring is guarded by OnlineSampleLock, the interval history by BeatCounterLock, the store
// by its own lock; none is held while another is taken.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "exercise/online_ring.h"
#include "exercise/record_store.h"
#include "protocol/online_thread.h"

namespace quibra::exercise {

// The online exercise in the store: its monitor type (13; 43 on the wireless link) and the
// recording interval that says its samples are R-R intervals.
inline constexpr int32_t kOnlineMonitorType = 13;
inline constexpr int32_t kWirelessMonitorType = 43;
inline constexpr int32_t kFlagOnlineRecording = 7;
inline constexpr int32_t kOnlineSampleFormat = 32;
// Sample channels of the beat data.
inline constexpr int32_t kChannelInterval = 1;
inline constexpr int32_t kChannelSampleIndex = 20;
inline constexpr int32_t kChannelSource = 21;
inline constexpr int32_t kChannelBeatTime = 22;
inline constexpr int32_t kChannelThird = 23;
inline constexpr int32_t kChannelSixth = 24;
// fnQuibra_GetRealOnlineData's buffer: the count and 100 beats of six words.
inline constexpr int32_t kRealOnlineDataWords = 1 + 6 * kOnlineRingBeats;

class OnlineRecording final : public protocol::OnlineSamples {
 public:
  OnlineRecording(ExerciseStore& store, std::mutex& sample_lock, std::mutex& beat_lock)
      : store_(store), sample_lock_(sample_lock), beat_lock_(beat_lock) {}

  // protocol::OnlineSamples: the online thread's calls.
  void prepare() override;
  void reset() override;
  void beat(int32_t time_ms, bool recorded, int32_t interval_ms) override;
  void no_data(int32_t time_ms, int32_t kind) override;
  void finish() override;

  // fnQuibra_ResetOnlineSamples: the ring emptied, a new online exercise, recording not begun.
  // The result of the last store write.
  int32_t ResetOnlineSamples();
  // A new online exercise in the store (the ring kept); the result of the last store write.
  int32_t PrepareOnlineExercise();
  // fnQuibra_PauseOnline.
  int32_t PauseOnline(int32_t pause);

  // The receive paths. PushOnlineBeat: a positive value into the ring (the oldest overwritten
  // when full) and into the exercise. PushOnlineBeatRecord: one beat into the ring, or, when the
  // ring is full, the ring emptied and the beat dropped; a kept beat with a non-zero source goes
  // into the exercise. SplitOnlineBeat: artefact splitting (missed-beat correction on), then one
  // PushOnlineBeatRecord per beat.
  void PushOnlineBeat(int32_t value);
  void PushOnlineBeatRecord(int32_t rec, int32_t beat_time, int32_t source, int32_t third,
                            int32_t interval, int32_t sixth);
  void SplitOnlineBeat(int32_t rec, int32_t beat_time, int32_t source, int32_t third,
                       int32_t interval);

  // The application's reads. -1 when the ring is empty or online mode is off.
  int32_t GetOnlineData();
  // buffer: kRealOnlineDataWords words. 0 (beats left) after a copy, else -1.
  int32_t GetRealOnlineData(int32_t rec, int32_t* buffer);
  // The sample count; info[1..6] := channels 21, 22, 23, 1, 20, 24 of sample index.
  int32_t GetOnlineDataEx(int32_t rec, int32_t index, int32_t* info);
  int32_t GetOnlineSample(int32_t rec, int32_t channel, int32_t index);
  int32_t SetOnlineSample(int32_t rec, int32_t channel, int32_t index, int32_t value);
  // Marks a lap at the last stored beat: 1, or 0 when refused.
  int32_t AddOnlineLaptime(int32_t rec);
  // The lap count; info[2], info[4], info[5] := fields 601, 607, 657 of lap.
  int32_t GetOnlineLaptime(int32_t rec, int32_t lap, int32_t* info);
  int32_t GetLaptimeSample(int32_t rec, int32_t field, int32_t lap);

  IntervalHistory history();
  bool running() const { return running_; }

 private:
  void append_sample(int32_t rec, const OnlineBeat& beat);

  ExerciseStore& store_;
  std::mutex& sample_lock_;  // OnlineSampleLock
  std::mutex& beat_lock_;    // BeatCounterLock
  OnlineRing ring_;
  IntervalHistory history_;
  std::atomic<bool> running_{false};
};

}  // namespace quibra::exercise

#include "exercise/online_recording.h"

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "platform/today.h"
#include "protocol/wireless_link.h"

namespace quibra::exercise {
namespace {

using frame::GetStateFlag;

constexpr int32_t kLapTimeField = 601;
constexpr int32_t kLapHeartRateField = 607;
constexpr int32_t kLapSampleIndexField = 657;
constexpr int32_t kFlagLaps = 13;
constexpr int32_t kParamSampleFormat = 7;
constexpr int32_t kParamDate = 9;
constexpr int32_t kParamStartTime = 10;
// Beat times are ms; lap times and the duration check of the store are 1/10 s.
constexpr int32_t kMsPerLapTick = 100;

bool OnlineMode() {
  return GetStateFlag(frame::kFlagOnlineMode) != 0;
}

int32_t TenthsSinceMidnight() {
  const platform::LocalDateTime now = platform::clock().local_now();
  return ((now.hour * 60 + now.minute) * 60 + now.second) * 10 + now.millisecond / 100;
}

}  // namespace

int32_t OnlineRecording::PrepareOnlineExercise() {
  store_.ResetExerciseRecord(0);
  const bool wireless = GetStateFlag(frame::kFlagWirelessAdapter) != 0;
  store_.SetExerciseParam(0, kParamMonitorType,
                          wireless ? kWirelessMonitorType : kOnlineMonitorType);
  store_.SetExerciseParam(0, kParamInterval, kRrInterval);
  store_.SetExerciseFlag(0, kFlagExtendedSamples, 1);
  store_.SetExerciseFlag(0, kFlagOnlineRecording, 1);
  store_.SetExerciseParam(0, kParamSampleFormat, kOnlineSampleFormat);
  store_.SetExerciseParam(0, kParamDate, platform::Today());
  {
    std::lock_guard guard(beat_lock_);
    history_ = {};
  }
  return store_.SetExerciseParam(0, kParamStartTime, TenthsSinceMidnight());
}

int32_t OnlineRecording::ResetOnlineSamples() {
  {
    std::lock_guard guard(sample_lock_);
    ring_.clear();
  }
  running_ = false;
  if (GetStateFlag(frame::kFlagWirelessAdapter) != 0) protocol::ClearDeviceRegistry();
  return PrepareOnlineExercise();
}

int32_t OnlineRecording::PauseOnline(int32_t pause) {
  if (pause != 0 && pause != 1) return 0;
  Module& mod = module();
  int32_t was = 0;
  {
    std::lock_guard guard(mod.locks.ThreadStopLock);
    was = GetStateFlag(frame::kFlagOnlinePaused);
    frame::SetStateFlag(frame::kFlagOnlinePaused, pause);
  }
  // The link library's pause call switches between pausing and resuming: it is made only for a
  // real change of a running recording. The first resume begins the recording of a link that
  // was never paused.
  const bool link_change = pause == 1 ? was == 0 : (was == 1 && running_);
  if (link_change && GetStateFlag(frame::kFlagWirelessAdapter) != 0) {
    protocol::PauseWirelessLink();
  }
  if (pause == 0 && !running_) {
    PrepareOnlineExercise();
    protocol::RestartRecordingClock();
    running_ = true;
  }
  return 1;
}

void OnlineRecording::prepare() {
  PrepareOnlineExercise();
}

void OnlineRecording::reset() {
  ResetOnlineSamples();
}

void OnlineRecording::beat(int32_t time_ms, bool recorded, int32_t interval_ms) {
  SplitOnlineBeat(0, time_ms, recorded ? 1 : 0, 0, interval_ms);
}

void OnlineRecording::no_data(int32_t time_ms, int32_t kind) {
  // Source 0: the ring shows the silence, the exercise holds beats only.
  PushOnlineBeatRecord(0, time_ms, 0, kind, 0, 0);
}

void OnlineRecording::finish() {
  const int32_t count = store_.GetSampleCount(0);
  const int32_t interval = store_.GetExerciseParam(0, kParamInterval);
  int64_t duration = 0;
  if (interval == kRrInterval) {
    for (int32_t i = 0; i < count; ++i)
      duration += store_.GetSampleValue(0, kChannelInterval, i);
  } else {
    duration = int64_t{interval} * count * 1000;
  }
  store_.SetExerciseParam(0, kParamDuration, static_cast<int32_t>(duration));
}

IntervalHistory OnlineRecording::history() {
  std::lock_guard guard(beat_lock_);
  return history_;
}

void OnlineRecording::append_sample(int32_t rec, const OnlineBeat& beat) {
  const int32_t index = store_.GetSampleCount(rec);
  SampleInput in{};
  in.index = index;
  in.heart_rate = beat.interval;
  in.ch20 = index;  // kept as 16 bits by the store
  in.ch21 = beat.source;
  in.ch22 = beat.beat_time;
  in.ch23 = beat.third;
  in.ch24 = beat.sixth;
  if (store_.AddExerciseSample(rec, in) == 0) return;
  store_.IncrementSampleCount(rec);
  // While the recording runs its length is the time of its last beat, so that a lap can be
  // marked at that beat; the end of the recording fixes it as the sum of the intervals.
  if (beat.beat_time > store_.GetExerciseParam(rec, kParamDuration)) {
    store_.SetExerciseParam(rec, kParamDuration, beat.beat_time);
  }
  std::lock_guard guard(beat_lock_);
  history_.add(beat.interval);
}

void OnlineRecording::PushOnlineBeat(int32_t value) {
  if (value <= 0) return;
  {
    std::lock_guard guard(sample_lock_);
    ring_.push_value(value);
  }
  OnlineBeat beat;
  beat.source = 1;
  beat.interval = value;
  append_sample(0, beat);
}

void OnlineRecording::PushOnlineBeatRecord(int32_t rec, int32_t beat_time, int32_t source,
                                           int32_t third, int32_t interval, int32_t sixth) {
  const OnlineBeat beat{source, beat_time, third, interval, 0, sixth};
  {
    std::lock_guard guard(sample_lock_);
    if (!ring_.push(beat)) return;
  }
  if (source != 0) append_sample(rec, beat);
}

void OnlineRecording::SplitOnlineBeat(int32_t rec, int32_t beat_time, int32_t source,
                                      int32_t third, int32_t interval) {
  if (GetStateFlag(frame::kFlagMissedBeatCorrection) == 0) {
    PushOnlineBeatRecord(rec, beat_time, source, third, interval, 0);
    return;
  }
  const SplitBeats split = SplitArtefact(history().last, interval);
  for (int i = 0; i < split.count; ++i) {
    const SplitPart& part = split.parts[static_cast<size_t>(i)];
    PushOnlineBeatRecord(rec, beat_time + part.offset, source, 0, part.interval, 0);
  }
}

int32_t OnlineRecording::GetOnlineData() {
  if (!OnlineMode()) return -1;
  std::lock_guard guard(sample_lock_);
  // The ring also tells silences (no interval): this getter hands out beat values only.
  while (const auto beat = ring_.pop()) {
    if (beat->interval > 0) return beat->interval;
  }
  return -1;
}

int32_t OnlineRecording::GetRealOnlineData(int32_t rec, int32_t* buffer) {
  if (rec != 0 || buffer == nullptr || !OnlineMode()) return -1;
  std::lock_guard guard(sample_lock_);
  const int32_t n = ring_.count();
  if (n == 0) return -1;
  buffer[0] = n;
  int32_t* out = buffer + 1;
  while (const auto beat = ring_.pop()) {
    *out++ = beat->source;
    *out++ = beat->beat_time;
    *out++ = beat->third;
    *out++ = beat->interval;
    *out++ = beat->spare;
    *out++ = beat->sixth;
  }
  return ring_.count();
}

int32_t OnlineRecording::GetOnlineDataEx(int32_t rec, int32_t index, int32_t* info) {
  const int32_t count = store_.GetSampleCount(rec);
  if (info != nullptr && index >= 0 && index < count) {
    constexpr int32_t kChannels[] = {kChannelSource,   kChannelBeatTime,    kChannelThird,
                                     kChannelInterval, kChannelSampleIndex, kChannelSixth};
    for (size_t i = 0; i < std::size(kChannels); ++i)
      info[i + 1] = store_.GetSampleValue(rec, kChannels[i], index);
  }
  return count;
}

int32_t OnlineRecording::GetOnlineSample(int32_t rec, int32_t channel, int32_t index) {
  if (rec != 0) return -1;
  return store_.GetSampleValue(rec, channel, index);
}

int32_t OnlineRecording::SetOnlineSample(int32_t rec, int32_t channel, int32_t index,
                                         int32_t value) {
  // Only a stored sample can be changed; the store takes its own lock for the write.
  if (index < 0 || index >= store_.GetSampleCount(rec)) return 0;
  return store_.SetSampleValue(rec, channel, index, value);
}

int32_t OnlineRecording::AddOnlineLaptime(int32_t rec) {
  const int32_t last = store_.GetSampleCount(rec) - 1;
  if (last < 0) return 0;
  const int32_t time = store_.GetSampleValue(rec, kChannelBeatTime, last) / kMsPerLapTick;
  // The store refuses a second lap at the same time, and a lap at 0.
  const int32_t lap = store_.InsertLap(rec, time, false);
  if (lap < 0) return 0;
  store_.SetLapField(rec, lap, kLapTimeField, time, false);
  store_.SetLapField(rec, lap, kLapHeartRateField,
                     store_.GetSampleValue(rec, kChannelInterval, last), false);
  store_.SetLapField(rec, lap, kLapSampleIndexField,
                     store_.GetSampleValue(rec, kChannelSampleIndex, last), false);
  store_.SetExerciseFlag(rec, kFlagLaps, 1);
  return 1;
}

int32_t OnlineRecording::GetOnlineLaptime(int32_t rec, int32_t lap, int32_t* info) {
  const int32_t count = store_.GetLapCount(rec);
  if (info != nullptr && lap >= 0 && lap < count) {
    info[2] = store_.GetLapField(rec, lap, kLapTimeField);
    info[4] = store_.GetLapField(rec, lap, kLapHeartRateField);
    info[5] = store_.GetLapField(rec, lap, kLapSampleIndexField);
  }
  return count;
}

int32_t OnlineRecording::GetLaptimeSample(int32_t rec, int32_t field, int32_t lap) {
  if (rec != 0) return -1;
  return store_.GetLapField(rec, lap, field);
}

}  // namespace quibra::exercise

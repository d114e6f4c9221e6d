// The exercise record store: the one exercise the library most recently decoded. Decoders reset
// it and fill it; the getter exports and the file writers only read it. Every operation takes a
// record number first (only record 0 exists) and answers 0 (or the empty text) when the record
// is not active, i.e. before the first reset after load.
//
// RecordStoreLock (lock order 4, frame/locks.h) guards the contents. Each operation holds it for
// its own duration only and never while calling into another subsystem, so a reader on the
// application's thread may see an exercise half-filled by a decoder on another thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace quibra::exercise {

inline constexpr int32_t kRecordCount = 1;
inline constexpr int32_t kParamCount = 170;          // ids 1..170
inline constexpr int32_t kFlagCount = 25;            // ids 1..25
inline constexpr int32_t kMaxSampleIndex = 0x40000;  // 262144: the highest storable index
inline constexpr int32_t kSampleStep = 128;
inline constexpr int32_t kSampleMargin = 5;  // growth starts this many slots before the end
inline constexpr int32_t kLapStep = 10;
inline constexpr int32_t kSwapStep = 10;
inline constexpr int32_t kFirstLapField = 600;
inline constexpr int32_t kFirstReadableLapField = 601;
inline constexpr int32_t kLastLapField = 666;
inline constexpr int32_t kLapFieldCount = kLastLapField - kFirstLapField + 1;  // 67
inline constexpr int32_t kLapTextFirst = 700;
inline constexpr int32_t kLapTextSecond = 701;
inline constexpr int32_t kLapTextMax = 40;
// R-R recording: the recording interval 238 says the samples are beat intervals in ms, which
// only two unit types may produce.
inline constexpr int32_t kRrInterval = 238;
inline constexpr std::array<int32_t, 2> kRrMonitorTypes = {43, 13};

// Ids of the parameters and flags the store itself acts on.
inline constexpr int32_t kParamMonitorType = 5;
inline constexpr int32_t kParamDuration = 11;  // ms
inline constexpr int32_t kParamInterval = 12;
inline constexpr int32_t kParamLimitSets = 83;
inline constexpr int32_t kFlagExtendedSamples = 3;
inline constexpr int32_t kFlagLimitSwaps = 14;

// One sample when flag 3 is set; the comment gives the channel that addresses each field.
struct ExtendedSample {
  int16_t heart_rate;  // 1
  int16_t ch2;         // 2 speed
  int16_t ch3;         // 3 cadence
  int16_t ch4;         // 4 altitude
  int16_t ch5;         // 5 power
  int16_t ch6;         // 6 pedalling power, low byte
  int16_t ch7;         // 7 pedalling power, high byte
  int16_t ch9;         // 9 air pressure
  int32_t ch10;
  int32_t ch11;
  int32_t ch12;
  int16_t ch21;
  int32_t ch22;
  int16_t ch23;
  int16_t ch20;
  int16_t ch24;
};

// One channel's value of a sample.
struct ChannelValue {
  int32_t channel;
  int32_t value;
};

// The caller's record handed to AddExerciseSample; fields the caller does not fill are 0.
struct SampleInput {
  int32_t index;
  int32_t heart_rate;
  int32_t ch2;
  int32_t ch3;
  int32_t ch4;
  int32_t ch5;
  int32_t ch6_ch7;  // low byte channel 6, second byte channel 7
  int32_t ch9;
  int32_t unused[12];
  int32_t ch20;
  int32_t ch21;
  int32_t ch22;
  int32_t ch23;
  int32_t ch24;
};
static_assert(sizeof(SampleInput) == 25 * 4);

struct LapRecord {
  std::array<int32_t, kLapFieldCount> fields;  // 600..666
  std::array<char, kLapTextMax + 1> text700;
  std::array<char, kLapTextMax + 1> text701;
};

struct LimitSwapEntry {
  int32_t limit_set;  // 0, 1 or 2
  int32_t time;       // 1/10 s since exercise start
};

struct ExerciseRecord {
  std::array<int32_t, kParamCount + 1> params{};  // slot 0 unused
  std::array<int32_t, kFlagCount + 1> flags{};    // slot 0 unused
  // In the store both have size() >= sample_capacity, and every entry from sample_capacity on is
  // 0 (growth needs to clear nothing); a copy holds only the counted entries of the one in use.
  std::vector<int32_t> hr_samples;
  std::vector<ExtendedSample> ext_samples;
  int32_t sample_count = 0;
  int32_t sample_capacity = 0;
  std::vector<LapRecord> laps;  // size() == lap_capacity
  int32_t lap_count = 0;
  std::vector<LimitSwapEntry> swaps;  // size() == swap_capacity
  int32_t swap_count = 0;
};

// What the getters answer for a record: 0 for an id, channel, index or lap field out of range,
// and for a sample counted but never stored. The store answers through these, and so does a
// copy of a record (CopyExerciseRecord).
int32_t RecordParam(const ExerciseRecord& r, int32_t id);
int32_t RecordFlag(const ExerciseRecord& r, int32_t id);
int32_t RecordSample(const ExerciseRecord& r, int32_t channel, int32_t index);
int32_t RecordLapField(const ExerciseRecord& r, int32_t lap, int32_t field);

class ExerciseStore {
 public:
  explicit ExerciseStore(std::mutex& lock) : lock_(lock) {}
  ExerciseStore(const ExerciseStore&) = delete;
  ExerciseStore& operator=(const ExerciseStore&) = delete;

  // Load: resets record 0 and leaves it inactive, so every getter reads 0 until a decoder runs.
  // (The library's locks are created with the Module itself, before this step.)
  void InitExerciseStore();
  // Unload: releases every record.
  void ShutdownExerciseStore();

  int32_t ResetExerciseRecord(int32_t rec);
  int32_t ReleaseExerciseRecord(int32_t rec);

  int32_t SetExerciseParam(int32_t rec, int32_t id, int32_t value);
  int32_t GetExerciseParam(int32_t rec, int32_t id);
  int32_t SetExerciseFlag(int32_t rec, int32_t id, int32_t value);
  int32_t GetExerciseFlag(int32_t rec, int32_t id);

  int32_t AddExerciseSample(int32_t rec, const SampleInput& sample);
  // AddExerciseSample at the index of the sample count, and IncrementSampleCount when it was
  // stored, under one lock. 1 when stored.
  int32_t AppendExerciseSample(int32_t rec, SampleInput sample);
  // AppendExerciseSample for each sample in order under one lock: how the decoders append
  // theirs (SampleBatch). Returns how many were stored.
  int32_t AppendExerciseSamples(int32_t rec, std::span<const SampleInput> samples);
  // Stores `count` copies of a sample at sample.index and on, each with the channel values of
  // `more` written over it, and adds them to the sample count: a coarser record of a decoder
  // stands for several samples of the first interval. Returns how many were stored (0 when the
  // sample is refused, fewer than count at the index limit).
  int32_t AddRepeatedSample(int32_t rec, const SampleInput& sample,
                            std::span<const ChannelValue> more, int32_t count);
  int32_t SetSampleValue(int32_t rec, int32_t channel, int32_t index, int32_t value);
  int32_t GetSampleValue(int32_t rec, int32_t channel, int32_t index);
  int32_t GetSampleCount(int32_t rec);
  int32_t SetSampleCount(int32_t rec, int32_t n);
  int32_t IncrementSampleCount(int32_t rec);

  int32_t InsertLap(int32_t rec, int32_t time, bool allow_zero);
  int32_t InitLap(int32_t rec, int32_t index, bool grow, bool raw);
  int32_t SetLapField(int32_t rec, int32_t index, int32_t field, int32_t value, bool grow);
  int32_t GetLapField(int32_t rec, int32_t index, int32_t field);
  int32_t SetLapText(int32_t rec, int32_t index, int32_t text_id, const char* text);
  // A copy of the text in a store-owned buffer that the next call overwrites.
  const char* GetLapTextField(int32_t rec, int32_t index, int32_t text_id);
  int32_t GetLapCount(int32_t rec);
  int32_t SetLapCount(int32_t rec, int32_t n);
  int32_t IncrementLapCount(int32_t rec);
  int32_t SortLaps(int32_t rec);

  int32_t RecordLimitSwap(int32_t rec, int32_t time, int32_t limit_set);
  int32_t AddLimitSwap(int32_t rec, int32_t index, int32_t time, int32_t limit_set);
  int32_t GetLimitSwap(int32_t rec, int32_t index, int32_t* time, int32_t* limit_set);
  int32_t GetLimitSwapCount(int32_t rec);
  int32_t IncrementLimitSwapCount(int32_t rec);

  // The record copied in one piece under the lock, for a reader that must see one exercise
  // while a decoder may be refilling the store. Its tables hold the counted entries only (the
  // capacities are the copy's own); an inactive record copies as an empty one, which reads 0
  // everywhere like the getters.
  ExerciseRecord CopyExerciseRecord(int32_t rec);
  // Calls read with the record itself under the lock, for a reader that formats the whole
  // exercise at once and needs no copy of it (the HRM file); an inactive record reads as an empty
  // one. read must not call back into the store (the lock is not recursive).
  template <typename Read>
  void ReadExerciseRecord(int32_t rec, Read&& read) {
    std::lock_guard guard(lock_);
    if (const ExerciseRecord* r = active(rec)) {
      read(*r);
      return;
    }
    const ExerciseRecord empty;
    read(empty);
  }

  // Capacities as the growth steps left them; 0 for an inactive record.
  int32_t SampleCapacity(int32_t rec);
  int32_t LapCapacity(int32_t rec);
  int32_t SwapCapacity(int32_t rec);

 private:
  // The record when rec is valid and the record is active, else null. Lock held by the caller.
  ExerciseRecord* active(int32_t rec);
  bool ensure_sample_locked(ExerciseRecord& r, int32_t index);
  bool set_sample_locked(ExerciseRecord& r, int32_t channel, int32_t index, int32_t value);
  static bool accepts_locked(const ExerciseRecord& r, const SampleInput& sample);
  // The sample (its own index ignored) at `index`.
  bool add_sample_locked(ExerciseRecord& r, const SampleInput& sample, int32_t index);
  bool ensure_lap_locked(ExerciseRecord& r, int32_t index);
  bool ensure_swap_locked(ExerciseRecord& r, int32_t index);

  std::mutex& lock_;
  std::array<std::unique_ptr<ExerciseRecord>, kRecordCount> records_{};
  std::array<int32_t, kRecordCount> in_use_{};
  std::array<char, kLapTextMax + 1> text_buffer_{};
};

// A decoder's samples on their way to a record: collected here and appended a batch at a time,
// so that the store's lock is taken once per batch rather than once per sample. Samples reach
// the store in order; flush() before reading anything the samples change (the count).
class SampleBatch {
 public:
  SampleBatch(ExerciseStore& store, int32_t rec) : store_(store), rec_(rec) {}
  SampleBatch(const SampleBatch&) = delete;
  SampleBatch& operator=(const SampleBatch&) = delete;
  ~SampleBatch() { flush(); }

  void append(const SampleInput& sample) {
    pending_[size_++] = sample;
    if (size_ == pending_.size()) flush();
  }
  void flush() {
    if (size_ > 0) store_.AppendExerciseSamples(rec_, std::span(pending_.data(), size_));
    size_ = 0;
  }

 private:
  ExerciseStore& store_;
  int32_t rec_;
  std::array<SampleInput, 64> pending_;
  size_t size_ = 0;
};

}  // namespace quibra::exercise

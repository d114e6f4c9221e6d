#include "exercise/record_store.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace quibra::exercise {
namespace {

// Which ExtendedSample field a channel addresses. Channels 8 and 13..19 have no field.
struct ChannelField {
  int32_t channel;
  int16_t ExtendedSample::*narrow;
  int32_t ExtendedSample::*wide;
};

constexpr std::array<ChannelField, 16> kChannelFields = {{
    {1, &ExtendedSample::heart_rate, nullptr},
    {2, &ExtendedSample::ch2, nullptr},
    {3, &ExtendedSample::ch3, nullptr},
    {4, &ExtendedSample::ch4, nullptr},
    {5, &ExtendedSample::ch5, nullptr},
    {6, &ExtendedSample::ch6, nullptr},
    {7, &ExtendedSample::ch7, nullptr},
    {9, &ExtendedSample::ch9, nullptr},
    {10, nullptr, &ExtendedSample::ch10},
    {11, nullptr, &ExtendedSample::ch11},
    {12, nullptr, &ExtendedSample::ch12},
    {20, &ExtendedSample::ch20, nullptr},
    {21, &ExtendedSample::ch21, nullptr},
    {22, nullptr, &ExtendedSample::ch22},
    {23, &ExtendedSample::ch23, nullptr},
    {24, &ExtendedSample::ch24, nullptr},
}};

// kChannelFields by channel number (-1: no field), so that a sample's channels are found
// without a search.
constexpr int32_t kHighestChannel = 24;
constexpr auto kFieldOfChannel = [] {
  std::array<int8_t, kHighestChannel + 1> at{};
  at.fill(-1);
  for (size_t i = 0; i < kChannelFields.size(); ++i)
    at[static_cast<size_t>(kChannelFields[i].channel)] = static_cast<int8_t>(i);
  return at;
}();

const ChannelField* find_channel(int32_t channel) {
  if (channel < 0 || channel > kHighestChannel) return nullptr;
  const int8_t i = kFieldOfChannel[static_cast<size_t>(channel)];
  return i < 0 ? nullptr : &kChannelFields[static_cast<size_t>(i)];
}

// The plausible range of each value checked by AddExerciseSample: a sample is dropped only when
// none of them is plausible.
struct Range {
  int32_t SampleInput::*field;
  int32_t low;
  int32_t high;
};

constexpr std::array<Range, 5> kPlausible = {{
    {&SampleInput::heart_rate, 0, 250},
    {&SampleInput::ch2, 0, 128},
    {&SampleInput::ch3, 0, 180},
    {&SampleInput::ch5, 0, 2000},
    {&SampleInput::ch4, -2047, 2048},
}};

// R-R samples (recording interval 238) come only from the two unit types that record them.
bool refuses_rr(const ExerciseRecord& r) {
  return r.params[kParamInterval] == kRrInterval &&
         std::find(kRrMonitorTypes.begin(), kRrMonitorTypes.end(),
                   r.params[kParamMonitorType]) == kRrMonitorTypes.end();
}

// The table's rows tried in order, unrolled at compile time: a plausible heart rate, which
// nearly every sample has, settles it with one comparison.
template <size_t... Row>
bool any_plausible(const SampleInput& sample, std::index_sequence<Row...>) {
  return ((sample.*(kPlausible[Row].field) >= kPlausible[Row].low &&
           sample.*(kPlausible[Row].field) <= kPlausible[Row].high) ||
          ...);
}

bool plausible(const SampleInput& sample) {
  return any_plausible(sample, std::make_index_sequence<kPlausible.size()>());
}

// A caller's sample written into an extended slot, field by field: channels 10..12 have no
// place in a SampleInput and keep what the slot holds. The narrow fields keep the low 16 bits.
void store_extended(ExtendedSample& s, const SampleInput& in) {
  s.heart_rate = static_cast<int16_t>(in.heart_rate);
  s.ch2 = static_cast<int16_t>(in.ch2);
  s.ch3 = static_cast<int16_t>(in.ch3);
  s.ch4 = static_cast<int16_t>(in.ch4);
  s.ch5 = static_cast<int16_t>(in.ch5);
  s.ch6 = static_cast<int16_t>(in.ch6_ch7 & 0xFF);
  s.ch7 = static_cast<int16_t>((in.ch6_ch7 >> 8) & 0xFF);
  s.ch9 = static_cast<int16_t>(std::max(in.ch9, 0));
  s.ch20 = static_cast<int16_t>(in.ch20);
  s.ch22 = in.ch22;
  s.ch21 = static_cast<int16_t>(in.ch21);
  s.ch23 = static_cast<int16_t>(in.ch23);
  s.ch24 = static_cast<int16_t>(in.ch24);
}

void clear_lap_fields(LapRecord& lap) {
  lap.fields.fill(0);
}

void clear_lap(LapRecord& lap) {
  clear_lap_fields(lap);
  lap.text700.fill('\0');
  lap.text701.fill('\0');
}

int32_t& lap_time(LapRecord& lap) {
  return lap.fields[kFirstReadableLapField - kFirstLapField];
}

// Exchanges the numeric fields of two laps; the texts stay in their slots.
void swap_lap_fields(LapRecord& a, LapRecord& b) {
  std::swap_ranges(a.fields.begin() + 1, a.fields.end(), b.fields.begin() + 1);
}

std::array<char, kLapTextMax + 1>* text_slot(LapRecord& lap, int32_t text_id) {
  if (text_id == kLapTextFirst) return &lap.text700;
  if (text_id == kLapTextSecond) return &lap.text701;
  return nullptr;
}

// Grows a table to new_size, clearing the new entries. False (table unchanged) when memory runs
// out.
template <typename T>
bool grow_to(std::vector<T>& table, size_t new_size) {
  try {
    table.resize(new_size);  // value-initialised: cleared
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

// Grows a sample table to hold at least `capacity` entries: to twice its size when that is more,
// so that an entry is cleared by a growth once in the table's life rather than at every step of
// the capacity. False (table unchanged) when memory runs out.
template <typename T>
bool grow_sample_table(std::vector<T>& table, size_t capacity) {
  if (table.size() >= capacity) return true;
  return grow_to(table, std::max(capacity, 2 * table.size())) || grow_to(table, capacity);
}

// Clears entries [from, to) of a table, clamped to it.
template <typename T>
void clear_entries(std::vector<T>& table, size_t from, size_t to) {
  static_assert(std::is_trivially_copyable_v<T>);  // all bytes zero is the cleared value
  to = std::min(to, table.size());
  if (from < to) std::memset(table.data() + from, 0, (to - from) * sizeof(T));
}

// The first `count` entries of a table, `count` clamped to the table.
template <typename T>
std::vector<T> counted(const std::vector<T>& table, int32_t count) {
  const size_t n = count <= 0 ? 0 : std::min(static_cast<size_t>(count), table.size());
  return std::vector<T>(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(n));
}

// The sample tables keep their size: only the entries below the capacity can hold values (the
// ones above it are never written), so only those are cleared. A fresh record's tables reach the
// first capacity within the memory reserved for it, so this never allocates.
void clear_record(ExerciseRecord& r) {
  r.params.fill(0);
  r.flags.fill(0);
  const auto used = static_cast<size_t>(std::max(r.sample_capacity, 0));
  clear_entries(r.hr_samples, 0, used);
  clear_entries(r.ext_samples, 0, used);
  if (r.hr_samples.size() < kSampleStep) r.hr_samples.resize(kSampleStep);
  if (r.ext_samples.size() < kSampleStep) r.ext_samples.resize(kSampleStep);
  r.sample_count = 0;
  r.sample_capacity = kSampleStep;
  r.laps.resize(kLapStep);
  for (auto& lap : r.laps)
    clear_lap(lap);
  r.lap_count = 0;
  r.swaps.assign(kSwapStep, LimitSwapEntry{});
  r.swap_count = 0;
}

}  // namespace

int32_t RecordParam(const ExerciseRecord& r, int32_t id) {
  return id < 1 || id > kParamCount ? 0 : r.params[id];
}

int32_t RecordFlag(const ExerciseRecord& r, int32_t id) {
  return id < 1 || id > kFlagCount ? 0 : r.flags[id];
}

int32_t RecordSample(const ExerciseRecord& r, int32_t channel, int32_t index) {
  if (index < 0 || index >= r.sample_count || index >= r.sample_capacity) return 0;
  if (r.flags[kFlagExtendedSamples] == 0) return r.hr_samples[index];
  const ChannelField* field = find_channel(channel);
  if (field == nullptr) return 0;
  const ExtendedSample& s = r.ext_samples[index];
  return field->narrow != nullptr ? static_cast<int32_t>(s.*(field->narrow)) : s.*(field->wide);
}

int32_t RecordLapField(const ExerciseRecord& r, int32_t lap, int32_t field) {
  if (lap < 0 || lap >= r.lap_count || lap >= static_cast<int32_t>(r.laps.size()) ||
      field < kFirstReadableLapField || field > kLastLapField) {
    return 0;
  }
  return r.laps[lap].fields[field - kFirstLapField];
}

ExerciseRecord* ExerciseStore::active(int32_t rec) {
  if (rec < 0 || rec >= kRecordCount) return nullptr;
  if (!records_[rec] || in_use_[rec] != 1) return nullptr;
  return records_[rec].get();
}

void ExerciseStore::InitExerciseStore() {
  {
    std::lock_guard guard(lock_);
    for (auto& r : records_)
      r.reset();
    in_use_.fill(0);
  }
  ResetExerciseRecord(0);
  std::lock_guard guard(lock_);
  in_use_[0] = 0;
}

void ExerciseStore::ShutdownExerciseStore() {
  for (int32_t rec = 0; rec < kRecordCount; ++rec)
    ReleaseExerciseRecord(rec);
}

int32_t ExerciseStore::ReleaseExerciseRecord(int32_t rec) {
  if (rec < 0 || rec >= kRecordCount) return 0;
  std::unique_ptr<ExerciseRecord> old;
  {
    std::lock_guard guard(lock_);
    old = std::move(records_[rec]);
    in_use_[rec] = 0;
  }
  return 1;  // old is freed here, outside the lock
}

// A record that exists is cleared in place: its capacities go back to the first ones but the
// tables keep their memory, so decoding one exercise after another (a whole memory, exercise by
// exercise) grows them once rather than for every exercise. ReleaseExerciseRecord frees them.
int32_t ExerciseStore::ResetExerciseRecord(int32_t rec) {
  if (rec < 0 || rec >= kRecordCount) return 0;
  {
    std::lock_guard guard(lock_);
    if (records_[rec]) {
      clear_record(*records_[rec]);
      in_use_[rec] = 1;
      return 1;
    }
  }
  std::unique_ptr<ExerciseRecord> fresh;
  try {
    fresh = std::make_unique<ExerciseRecord>();
    fresh->hr_samples.reserve(kSampleStep);
    fresh->ext_samples.reserve(kSampleStep);
    fresh->laps.reserve(kLapStep);
    fresh->swaps.reserve(kSwapStep);
    clear_record(*fresh);
  } catch (const std::bad_alloc&) {
    return 0;  // the record stays released, so inactive
  }
  std::lock_guard guard(lock_);
  records_[rec] = std::move(fresh);
  in_use_[rec] = 1;
  return 1;
}

int32_t ExerciseStore::SetExerciseParam(int32_t rec, int32_t id, int32_t value) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || id < 1 || id > kParamCount) return 0;
  r->params[id] = value;
  return 1;
}

int32_t ExerciseStore::GetExerciseParam(int32_t rec, int32_t id) {
  std::lock_guard guard(lock_);
  const ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : RecordParam(*r, id);
}

int32_t ExerciseStore::SetExerciseFlag(int32_t rec, int32_t id, int32_t value) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || id < 1 || id > kFlagCount) return 0;
  r->flags[id] = value;
  return 1;
}

int32_t ExerciseStore::GetExerciseFlag(int32_t rec, int32_t id) {
  std::lock_guard guard(lock_);
  const ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : RecordFlag(*r, id);
}

// Grows both sample tables in steps of 128 until `index` lies more than the margin below the
// capacity. False (tables unchanged) for an index beyond the highest or when memory runs out.
bool ExerciseStore::ensure_sample_locked(ExerciseRecord& r, int32_t index) {
  if (index < 0 || index > kMaxSampleIndex) return false;
  if (index < r.sample_capacity - kSampleMargin) return true;
  int32_t capacity = r.sample_capacity;
  while (index >= capacity - kSampleMargin)
    capacity += kSampleStep;
  // Slots past the count may hold values written ahead of it; they start the grown table clean.
  // The slots above the old capacity are clear already, so only the old ones past the count are
  // cleared.
  const auto old_size = static_cast<size_t>(r.sample_capacity);
  const size_t from = std::min(static_cast<size_t>(std::max(r.sample_count, 0)), old_size);
  if (!grow_sample_table(r.hr_samples, static_cast<size_t>(capacity)) ||
      !grow_sample_table(r.ext_samples, static_cast<size_t>(capacity))) {
    return false;
  }
  if (r.flags[kFlagExtendedSamples] != 0) {
    clear_entries(r.ext_samples, from, old_size);
  } else {
    clear_entries(r.hr_samples, from, old_size);
  }
  r.sample_capacity = capacity;
  return true;
}

// Writes one channel of sample `index` into the table in use. With flag 3 clear only the
// heart-rate table exists for writing, so only channel 1 is accepted.
bool ExerciseStore::set_sample_locked(ExerciseRecord& r, int32_t channel, int32_t index,
                                      int32_t value) {
  const bool extended = r.flags[kFlagExtendedSamples] != 0;
  const ChannelField* field = find_channel(channel);
  if (field == nullptr || (!extended && channel != 1)) return false;
  if (!ensure_sample_locked(r, index)) return false;
  if (!extended) {
    r.hr_samples[index] = value;
    return true;
  }
  ExtendedSample& s = r.ext_samples[index];
  if (field->narrow != nullptr) {
    s.*(field->narrow) = static_cast<int16_t>(value);
  } else {
    s.*(field->wide) = value;
  }
  return true;
}

// Whether the store takes a caller's sample at all: R-R samples only from the units that record
// them, and a sample is dropped only when none of its checked values is plausible.
bool ExerciseStore::accepts_locked(const ExerciseRecord& r, const SampleInput& sample) {
  return !refuses_rr(r) && plausible(sample);
}

// The whole sample in one growth check, straight into the fields of the table in use.
bool ExerciseStore::add_sample_locked(ExerciseRecord& r, const SampleInput& sample,
                                      int32_t index) {
  if (index < 0 || index > kMaxSampleIndex) return false;
  if (!accepts_locked(r, sample) || !ensure_sample_locked(r, index)) return false;
  const auto at = static_cast<size_t>(index);
  if (r.flags[kFlagExtendedSamples] == 0) {
    r.hr_samples[at] = sample.heart_rate;
  } else {
    store_extended(r.ext_samples[at], sample);
  }
  return true;
}

int32_t ExerciseStore::AddExerciseSample(int32_t rec, const SampleInput& sample) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r != nullptr && add_sample_locked(*r, sample, sample.index) ? 1 : 0;
}

int32_t ExerciseStore::AppendExerciseSample(int32_t rec, SampleInput sample) {
  return AppendExerciseSamples(rec, std::span<const SampleInput>(&sample, 1));
}

int32_t ExerciseStore::AppendExerciseSamples(int32_t rec, std::span<const SampleInput> samples) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr) return 0;
  // What add_sample_locked checks, with the record's own part (the R-R refusal) once for the
  // batch and the growth only where a sample reaches the margin.
  if (refuses_rr(*r)) return 0;
  // The count and the capacity are kept in locals: stores into the tables could alias them.
  const auto append = [&](auto& table, auto store) {
    int32_t count = r->sample_count;
    int32_t room = r->sample_capacity - kSampleMargin;
    int32_t stored = 0;
    for (const SampleInput& sample : samples) {
      if (count > kMaxSampleIndex) break;
      if (!plausible(sample)) continue;
      if (count >= room) {
        r->sample_count = count;
        if (!ensure_sample_locked(*r, count)) continue;
        room = r->sample_capacity - kSampleMargin;
      }
      store(table[static_cast<size_t>(count)], sample);
      ++count;
      ++stored;
    }
    r->sample_count = count;
    return stored;
  };
  if (r->flags[kFlagExtendedSamples] != 0) return append(r->ext_samples, store_extended);
  return append(r->hr_samples,
                [](int32_t& slot, const SampleInput& sample) { slot = sample.heart_rate; });
}

// One lock and one growth for the whole run; the copies are the first sample's slot, so they
// hold exactly what AddExerciseSample and SetSampleValue would have written one by one.
int32_t ExerciseStore::AddRepeatedSample(int32_t rec, const SampleInput& sample,
                                         std::span<const ChannelValue> more, int32_t count) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || count <= 0 || !add_sample_locked(*r, sample, sample.index)) return 0;
  for (const ChannelValue& c : more)
    set_sample_locked(*r, c.channel, sample.index, c.value);
  const int32_t last =
      static_cast<int32_t>(std::min<int64_t>(int64_t{sample.index} + count - 1, kMaxSampleIndex));
  // Writing the last slot grows the tables as far as the run needs; the copies overwrite it.
  if (last > sample.index && !set_sample_locked(*r, 1, last, 0)) return 0;
  const auto first = static_cast<size_t>(sample.index);
  const auto end = static_cast<size_t>(last) + 1;
  if (r->flags[kFlagExtendedSamples] != 0) {
    std::fill(r->ext_samples.begin() + first + 1, r->ext_samples.begin() + end,
              r->ext_samples[first]);
  } else {
    std::fill(r->hr_samples.begin() + first + 1, r->hr_samples.begin() + end, r->hr_samples[first]);
  }
  const int32_t stored = last - sample.index + 1;
  r->sample_count = std::min(r->sample_count + stored, kMaxSampleIndex + 1);
  return stored;
}

int32_t ExerciseStore::SetSampleValue(int32_t rec, int32_t channel, int32_t index, int32_t value) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr) return 0;
  return set_sample_locked(*r, channel, index, value) ? 1 : 0;
}

int32_t ExerciseStore::GetSampleValue(int32_t rec, int32_t channel, int32_t index) {
  std::lock_guard guard(lock_);
  const ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : RecordSample(*r, channel, index);
}

int32_t ExerciseStore::GetSampleCount(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : r->sample_count;
}

// The count may run ahead of the capacity only as far as one past the highest storable index;
// reads beyond the capacity give 0.
int32_t ExerciseStore::SetSampleCount(int32_t rec, int32_t n) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || n < 0 || n > kMaxSampleIndex + 1) return 0;
  r->sample_count = n;
  return 1;
}

int32_t ExerciseStore::IncrementSampleCount(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || r->sample_count > kMaxSampleIndex) return 0;
  ++r->sample_count;
  return 1;
}

// Makes room for lap `index`: capacity + 10, or index + 10 when the index lies beyond that.
bool ExerciseStore::ensure_lap_locked(ExerciseRecord& r, int32_t index) {
  if (index < 0) return false;
  const int32_t capacity = static_cast<int32_t>(r.laps.size());
  if (index < capacity) return true;
  int32_t grown = capacity + kLapStep;
  if (index >= grown) grown = index + kLapStep;
  const size_t old_size = r.laps.size();
  if (!grow_to(r.laps, static_cast<size_t>(grown))) return false;
  for (size_t i = old_size; i < r.laps.size(); ++i)
    clear_lap(r.laps[i]);
  return true;
}

// The new lap gets its time in field 601 at once, so the order and the duplicate test hold for
// the next insertion even before the caller fills the other fields. Clearing the lap at the
// insertion point leaves its texts alone: texts belong to slots, not to lap times.
int32_t ExerciseStore::InsertLap(int32_t rec, int32_t time, bool allow_zero) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr) return -1;
  const int32_t duration = r->params[kParamDuration] / 100;
  if (time < (allow_zero ? 0 : 1) || time > duration) return -1;
  for (int32_t i = 0; i < r->lap_count; ++i) {
    if (lap_time(r->laps[i]) == time) return -1;
  }
  if (r->lap_count == 0) {
    if (!ensure_lap_locked(*r, 0)) return -2;
    r->lap_count = 1;
    clear_lap_fields(r->laps[0]);
    lap_time(r->laps[0]) = time;
    return 0;
  }
  int32_t position = r->lap_count;
  for (int32_t i = 0; i < r->lap_count; ++i) {
    if (lap_time(r->laps[i]) > time) {
      position = i;
      break;
    }
  }
  if (!ensure_lap_locked(*r, r->lap_count)) return -2;
  ++r->lap_count;
  for (int32_t i = r->lap_count - 1; i > position; --i)
    swap_lap_fields(r->laps[i], r->laps[i - 1]);
  clear_lap_fields(r->laps[position]);
  lap_time(r->laps[position]) = time;
  return position;
}

// `raw` is kept for callers that pass it; a cleared lap is the same either way.
int32_t ExerciseStore::InitLap(int32_t rec, int32_t index, bool grow, bool /*raw*/) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || index < 0) return 0;
  if (grow) {
    if (!ensure_lap_locked(*r, index)) return 0;
  } else if (index >= static_cast<int32_t>(r->laps.size())) {
    return 0;
  }
  clear_lap(r->laps[index]);
  return 1;
}

int32_t ExerciseStore::SetLapField(int32_t rec, int32_t index, int32_t field, int32_t value,
                                   bool grow) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || index < 0 || field < kFirstLapField || field > kLastLapField) return 0;
  if (grow) {
    if (!ensure_lap_locked(*r, index)) return 0;
  } else if (index >= r->lap_count || index >= static_cast<int32_t>(r->laps.size())) {
    return 0;
  }
  r->laps[index].fields[field - kFirstLapField] = value;
  return 1;
}

int32_t ExerciseStore::GetLapField(int32_t rec, int32_t index, int32_t field) {
  std::lock_guard guard(lock_);
  const ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : RecordLapField(*r, index, field);
}

int32_t ExerciseStore::SetLapText(int32_t rec, int32_t index, int32_t text_id, const char* text) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || index < 0 || index > r->lap_count) return 0;
  if (text_id != kLapTextFirst && text_id != kLapTextSecond) return 0;
  if (!ensure_lap_locked(*r, index)) return 0;
  auto& slot = *text_slot(r->laps[index], text_id);
  slot.fill('\0');
  if (text != nullptr) {
    const size_t length = strnlen(text, kLapTextMax);
    std::memcpy(slot.data(), text, length);
  }
  return 1;
}

const char* ExerciseStore::GetLapTextField(int32_t rec, int32_t index, int32_t text_id) {
  std::lock_guard guard(lock_);
  text_buffer_.fill('\0');
  ExerciseRecord* r = active(rec);
  if (r == nullptr || index < 0 || index >= r->lap_count ||
      index >= static_cast<int32_t>(r->laps.size())) {
    return text_buffer_.data();
  }
  auto* slot = text_slot(r->laps[index], text_id);
  if (slot != nullptr) std::memcpy(text_buffer_.data(), slot->data(), kLapTextMax);
  return text_buffer_.data();
}

int32_t ExerciseStore::GetLapCount(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : r->lap_count;
}

// A count beyond the table first grows the table, so every counted lap exists.
int32_t ExerciseStore::SetLapCount(int32_t rec, int32_t n) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || n < 0 || n > kMaxSampleIndex) return 0;
  if (n > 0 && !ensure_lap_locked(*r, n - 1)) return 0;
  r->lap_count = n;
  return 1;
}

int32_t ExerciseStore::IncrementLapCount(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || r->lap_count >= kMaxSampleIndex) return 0;
  if (!ensure_lap_locked(*r, r->lap_count)) return 0;
  ++r->lap_count;
  return 1;
}

// Bubble sort on field 601 with the same exchange as InsertLap, so texts stay in their slots
// here too. Equal times are never exchanged.
int32_t ExerciseStore::SortLaps(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr) return 0;
  for (int32_t end = r->lap_count - 1; end > 0; --end) {
    bool swapped = false;
    for (int32_t i = 0; i < end; ++i) {
      if (lap_time(r->laps[i]) > lap_time(r->laps[i + 1])) {
        swap_lap_fields(r->laps[i], r->laps[i + 1]);
        swapped = true;
      }
    }
    if (!swapped) break;
  }
  return 1;
}

bool ExerciseStore::ensure_swap_locked(ExerciseRecord& r, int32_t index) {
  if (index < 0 || index > kMaxSampleIndex) return false;
  size_t capacity = r.swaps.size();
  if (static_cast<size_t>(index) < capacity) return true;
  while (static_cast<size_t>(index) >= capacity)
    capacity += kSwapStep;
  return grow_to(r.swaps, capacity);
}

int32_t ExerciseStore::RecordLimitSwap(int32_t rec, int32_t time, int32_t limit_set) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr) return 0;
  int32_t& sets = r->params[kParamLimitSets];
  if (limit_set == 2) {
    sets = 3;
  } else if (sets < 3) {
    sets = 2;
  }
  if (!ensure_swap_locked(*r, r->swap_count)) return 0;
  r->swaps[r->swap_count] = LimitSwapEntry{limit_set, time};
  ++r->swap_count;
  r->flags[kFlagLimitSwaps] = 1;
  return 1;
}

int32_t ExerciseStore::AddLimitSwap(int32_t rec, int32_t index, int32_t time, int32_t limit_set) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || !ensure_swap_locked(*r, index)) return 0;
  r->swaps[index] = LimitSwapEntry{limit_set, time};
  return 1;
}

int32_t ExerciseStore::GetLimitSwap(int32_t rec, int32_t index, int32_t* time, int32_t* limit_set) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || index < 0 || index >= r->swap_count ||
      index >= static_cast<int32_t>(r->swaps.size())) {
    return 0;
  }
  if (time != nullptr) *time = r->swaps[index].time;
  if (limit_set != nullptr) *limit_set = r->swaps[index].limit_set;
  return 1;
}

int32_t ExerciseStore::GetLimitSwapCount(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : r->swap_count;
}

int32_t ExerciseStore::IncrementLimitSwapCount(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  if (r == nullptr || !ensure_swap_locked(*r, r->swap_count)) return 0;
  ++r->swap_count;
  return 1;
}

ExerciseRecord ExerciseStore::CopyExerciseRecord(int32_t rec) {
  ExerciseRecord copy;
  std::lock_guard guard(lock_);
  const ExerciseRecord* r = active(rec);
  if (r == nullptr) return copy;
  copy.params = r->params;
  copy.flags = r->flags;
  // Samples counted beyond the capacity read 0, in the store and in the copy alike.
  copy.sample_count = r->sample_count;
  copy.sample_capacity = std::clamp(r->sample_count, 0, r->sample_capacity);
  // Only the table in use is read (RecordSample picks it by flag 3), so only it is copied.
  if (r->flags[kFlagExtendedSamples] != 0) {
    copy.ext_samples = counted(r->ext_samples, copy.sample_capacity);
  } else {
    copy.hr_samples = counted(r->hr_samples, copy.sample_capacity);
  }
  copy.lap_count = r->lap_count;
  copy.laps = counted(r->laps, r->lap_count);
  copy.swap_count = r->swap_count;
  copy.swaps = counted(r->swaps, r->swap_count);
  return copy;
}

int32_t ExerciseStore::SampleCapacity(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : r->sample_capacity;
}

int32_t ExerciseStore::LapCapacity(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : static_cast<int32_t>(r->laps.size());
}

int32_t ExerciseStore::SwapCapacity(int32_t rec) {
  std::lock_guard guard(lock_);
  ExerciseRecord* r = active(rec);
  return r == nullptr ? 0 : static_cast<int32_t>(r->swaps.size());
}

}  // namespace quibra::exercise

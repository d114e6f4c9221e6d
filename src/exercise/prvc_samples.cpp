#include "exercise/prvc_samples.h"

#include <algorithm>
#include <cmath>

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kMarkerByte = 0xFF;
constexpr int32_t kNoInterval = 0xFFFF;
constexpr double kFeetToMetres = 0.3048;
// Channel 2 is in 1/10 km/h.
constexpr int32_t kHalfKmhToChannel = 5;
constexpr double kSixteenthKmhPerChannel = 1.6;
// Channel 12 packs the nibble of the extra values with the flag bits of their seventh byte.
constexpr int32_t kExtraScale = 1000000;

bool WideSpeed(const SampleFormat& f, int32_t interval) {
  return f.wide_speed || interval >= 15;
}

int32_t U16(const uint8_t* p) {
  return p[0] | p[1] << 8;
}

// Walks the R-R intervals along the time line of the samples: the heart rate of a record is
// that of the beats that end within it, or the last one known when none does.
class RrHeartRate {
 public:
  explicit RrHeartRate(const std::vector<uint8_t>* rr) : rr_(rr) {}
  int32_t until(int64_t end_ms) {
    if (rr_ == nullptr) return 0;
    int64_t sum = 0;
    int32_t beats = 0;
    while (next_ + 1 < rr_->size()) {
      const int32_t ms = U16(rr_->data() + next_);
      if (ms != 0 && ms != kNoInterval && clock_ + ms > end_ms) break;
      next_ += 2;
      if (ms == 0 || ms == kNoInterval) continue;
      clock_ += ms;
      sum += ms;
      ++beats;
    }
    if (beats > 0) last_ = static_cast<int32_t>(std::lround(60000.0 * beats / sum));
    return last_;
  }

 private:
  const std::vector<uint8_t>* rr_;
  size_t next_ = 0;
  int64_t clock_ = 0;
  int32_t last_ = 0;
};

}  // namespace

int32_t SampleFormat::size(int32_t interval) const {
  int32_t z = heart_rate ? 1 : 0;
  if (altitude) z += 2;
  if (speed) z += (WideSpeed(*this, interval) ? 2 : 1) + (speed_distance ? 2 : 0);
  if (cadence) z += 1;
  if (extra) z += 8;
  if (power) z += 4;
  return z;
}

int32_t NextCoarserInterval(int32_t current) {
  if (current == 1) return 5;
  return current == 5 ? 15 : 60;
}

int32_t DecodeSamples(const std::vector<uint8_t>& data, const SampleFormat& f, const SampleRun& run,
                      ExerciseStore& s) {
  if (run.interval <= 0) return 0;
  int32_t interval = run.interval;
  int32_t z = f.size(interval);
  if (z <= 0) return 0;
  RrHeartRate rr(f.heart_rate ? nullptr : run.rr);
  int32_t stored = 0;
  int64_t record_start_ms = 0;
  size_t at = 0;
  while (at + static_cast<size_t>(z) <= data.size()) {
    const uint8_t* p = data.data() + at;
    at += static_cast<size_t>(z);
    if (std::all_of(p, p + z, [](uint8_t b) { return b == kMarkerByte; })) {
      interval = NextCoarserInterval(interval);
      z = f.size(interval);
      continue;
    }
    SampleInput in{};
    int32_t ch10 = 0, ch11 = 0, ch12 = 0;
    if (f.heart_rate) {
      if (run.heart_rate_used) in.heart_rate = *p;
      ++p;
    }
    if (f.altitude) {
      in.ch4 = static_cast<int32_t>(std::lround(static_cast<int16_t>(U16(p)) * kFeetToMetres));
      p += 2;
    }
    if (f.speed) {
      if (WideSpeed(f, interval)) {
        in.ch2 = static_cast<int32_t>(std::lround(U16(p) / kSixteenthKmhPerChannel));
        p += 2;
      } else {
        in.ch2 = *p++ * kHalfKmhToChannel;
      }
      if (f.speed_distance) p += 2;
    }
    if (f.cadence) {
      if (f.cadence_shown) in.ch3 = *p;
      ++p;
    }
    if (f.extra) {
      const int32_t first = U16(p) + (p[2] & 0x0F) * 65536;
      const int32_t nibble = p[2] >> 4;
      const int32_t first_byte = p[3];
      const int32_t second = U16(p + 4) + (p[6] & 0x0F) * 65536;
      const int32_t two_bits = (p[6] >> 4) & 3;
      const int32_t one_bit = (p[6] >> 6) & 1;
      const int32_t second_byte = p[7];
      ch10 = second + kExtraScale * second_byte;
      ch11 = first + kExtraScale * first_byte;
      ch12 = nibble + 16 * one_bit + 32 * two_bits;
      p += 8;
    }
    if (f.power) {
      in.ch5 = U16(p);
      in.ch6_ch7 = p[2] | p[3] << 8;
      p += 4;
    }
    const int64_t interval_ms = static_cast<int64_t>(interval) * 1000;
    if (!f.heart_rate) in.heart_rate = rr.until(record_start_ms + interval_ms);
    record_start_ms += interval_ms;
    // Each record stands for `repeat` samples of the first interval. Samples stop two samples
    // of the first interval past the exercise's length, also after a switch: a coarse record
    // at the end would otherwise reach up to a minute past it.
    const int32_t repeat = interval / run.interval;
    const int64_t first_ms = static_cast<int64_t>(run.interval) * 1000;
    const int64_t cap_ms = static_cast<int64_t>(run.duration_ms) + 2 * first_ms;
    const int64_t room = (cap_ms + first_ms - 1) / first_ms - stored;
    const auto count = static_cast<int32_t>(std::clamp<int64_t>(room, 0, repeat));
    if (count == 0) return stored;
    in.index = stored;
    const ChannelValue extra[] = {{10, ch10}, {11, ch11}, {12, ch12}};
    const bool with_extra = f.extra && run.extended;
    const int32_t added = s.AddRepeatedSample(
        kRec, in, std::span<const ChannelValue>(extra, with_extra ? 3 : 0), count);
    stored += added;
    if (added != repeat) return stored;
  }
  return stored;
}

int32_t DecodeRrIntervals(const std::vector<uint8_t>& data, ExerciseStore& s) {
  int32_t stored = 0;
  for (size_t at = 0; at + 1 < data.size(); at += 2) {
    const int32_t ms = U16(data.data() + at);
    if (ms == 0 || ms == kNoInterval) continue;
    if (s.SetSampleValue(kRec, 1, stored, ms) != 1) break;
    s.IncrementSampleCount(kRec);
    ++stored;
  }
  return stored;
}

void StoreShownSensors(const ShownSensors& shown, int32_t interval, ExerciseStore& store) {
  store.SetExerciseParam(kRec, 12, interval);
  store.SetExerciseFlag(kRec, 8, shown.speed ? 1 : 0);
  store.SetExerciseFlag(kRec, 9, shown.altitude ? 1 : 0);
  store.SetExerciseFlag(kRec, 11, shown.power ? 1 : 0);
  // The two pedalling bytes of a power record are the balance column of an HRM file.
  store.SetExerciseFlag(kRec, 18, shown.power ? 1 : 0);
  store.SetExerciseFlag(kRec, 23, shown.extra ? 1 : 0);
  store.SetExerciseFlag(kRec, 3, shown.any ? 1 : 0);
  store.SetExerciseParam(kRec, 7, shown.any ? 32 : 16);
}

void StoreFileData(const PagedData& pages, const SampleFormat& format, const FileRecording& r,
                   ExerciseStore& store) {
  const std::vector<uint8_t>& rr_data = pages.data[kPageKindRr];
  const bool rr_used = r.rr_capable && r.summary;
  if (!r.rr_recording) {
    SampleRun run;
    run.interval = r.interval;
    run.duration_ms = store.GetExerciseParam(kRec, 11);
    run.heart_rate_used = r.summary;
    run.extended = r.extended;
    run.rr = rr_used ? &rr_data : nullptr;
    DecodeSamples(pages.data[kPageKindSamples], format, run, store);
  } else if (rr_used) {
    DecodeRrIntervals(rr_data, store);
  }
  if (store.GetLapCount(kRec) > 0) store.SetExerciseFlag(kRec, 13, 1);
  store.SortLaps(kRec);
}

}  // namespace quibra::exercise

#include "generated_exercises.h"

#include <algorithm>
#include <cmath>

#include "codec/unit_families.h"
#include "encoders/image_layout.h"
#include "encoders/k_series_encoder.h"
#include "encoders/outdoor_encoder.h"
#include "encoders/prvc_file_encoder.h"
#include "encoders/summary_encoders.h"

namespace quibra::sim {
namespace {

constexpr int32_t kType31Most = 15;
constexpr int32_t kSampleSeconds = 5;  // interval code 0 on every family

// Exercise n: one a day from 1 November 2026, mornings and evenings by turns, 10 to 25 minutes.
struct Session {
  int32_t day;
  int32_t hour;
  int32_t samples;
  int32_t level;  // the heart rate it settles at
};
Session SessionOf(int32_t n) {
  return {1 + n % 28, n % 2 == 0 ? 7 : 18, 120 + 60 * (n % 4), 130 + 5 * (n % 6)};
}

// A heart rate that warms up over the first minutes, then swings slowly around the level.
int32_t HeartRate(int32_t i, int32_t level) {
  const double warm = std::min(1.0, i / 24.0);
  return static_cast<int32_t>(70 + (level - 70) * warm + 5.0 * std::sin(i / 9.0));
}

KSeriesExercise KSeries(int32_t n) {
  const Session s = SessionOf(n);
  KSeriesExercise x;
  x.name = "Ex" + std::to_string(n + 1);
  x.year = 2026;
  x.month = 11;
  x.day = s.day;
  x.hour = s.hour;
  x.duration_tenths = s.samples * kSampleSeconds * 10;
  x.limits = {{{true, 150, 120}, {true, 170, 150}, {true, 185, 170}}};
  for (int32_t i = 0; i < s.samples; ++i) {
    KSeriesSample sample;
    sample.heart_rate = HeartRate(i, s.level);
    x.samples.push_back(sample);
  }
  // A lap every five minutes.
  for (int32_t t = 3000; t < x.duration_tenths; t += 3000) {
    KSeriesLap lap;
    lap.tenths = t;
    lap.heart_rate = x.samples[static_cast<size_t>(t / (kSampleSeconds * 10))].heart_rate;
    lap.average = lap.heart_rate - 3;
    lap.maximum = lap.heart_rate + 6;
    x.laps.push_back(lap);
  }
  return x;
}

OutdoorExercise Outdoor(int32_t n) {
  const Session s = SessionOf(n);
  OutdoorExercise x;
  x.year = 2026;
  x.month = 11;
  x.day = s.day;
  x.start_h = s.hour;
  x.duration_s = s.samples * kSampleSeconds;
  x.limit1_low = 120;
  x.limit1_high = 150;
  x.altitude_a = 420;
  x.altitude_b = 380;
  for (int32_t i = 0; i < s.samples; ++i)
    x.samples.push_back({HeartRate(i, s.level), false, 768 + 400 + i % 40});
  return x;
}

Type30Exercise Type30(int32_t n) {
  const Session s = SessionOf(n);
  Type30Exercise x;
  x.year = 2026;
  x.month = 11;
  x.day = s.day;
  x.hour = s.hour;
  x.duration_tenths = s.samples * kSampleSeconds * 10;
  for (int32_t t = 3000; t < x.duration_tenths; t += 3000)
    x.laps.push_back({t, s.level, s.level - 3, s.level + 6});
  return x;
}

Type31Exercise Type31(int32_t n) {
  const Session s = SessionOf(n);
  Type31Exercise x;
  x.year = 2026;
  x.month = 11;
  x.day = s.day;
  x.hour = s.hour;
  x.duration_hundredths = s.samples * kSampleSeconds * 100;
  x.laps.push_back({0, x.duration_hundredths / 20, s.level, s.level - 3});
  return x;
}

Type32Exercise Type32(int32_t n) {
  const Session s = SessionOf(n);
  Type32Exercise x;
  x.year = 2026;
  x.month = 11;
  x.day = s.day;
  x.start_seconds = s.hour * 3600;
  x.duration_seconds = s.samples * kSampleSeconds;
  return x;
}

template <typename Make>
auto Many(int32_t count, Make make) {
  std::vector<decltype(make(0))> out;
  for (int32_t n = 0; n < count; ++n)
    out.push_back(make(n));
  return out;
}

}  // namespace

std::optional<std::vector<uint8_t>> GeneratedExerciseMemory(int32_t type, int32_t product_code,
                                                            int32_t variant, int32_t count) {
  if (count < 0 || count > kMaxGeneratedExercises) return std::nullopt;
  const auto code = static_cast<uint8_t>(product_code);
  const auto version = static_cast<uint8_t>(variant);
  if (codec::IsKSeries(type)) return KSeriesSingleImage(Many(count, KSeries), type, code, version);
  if (codec::IsOutdoor(type)) {
    std::vector<Bytes> chain;
    for (const OutdoorExercise& x : Many(count, Outdoor))
      chain.push_back(EncodeOutdoorExercise(x, type));
    return SingleChainImage(chain, code, version);
  }
  switch (type) {
    case 30:
      if (count > 1) return std::nullopt;
      return count == 0 ? SingleChainImage({}, code, version)
                        : Type30Image(Type30(0), ImageKind::kSingleExercise, code, version);
    case 31:
      if (count > kType31Most) return std::nullopt;
      return Type31Image(Many(count, Type31), ImageKind::kSingleExercise, code, version);
    case 32:
      return Type32Image(Many(count, Type32), ImageKind::kSingleExercise, code, version);
    default:
      return std::nullopt;
  }
}

std::optional<std::vector<std::vector<uint8_t>>> GeneratedExerciseFiles(int32_t type,
                                                                        int32_t product_code,
                                                                        int32_t variant,
                                                                        int32_t count) {
  if (type < 33 || type > 38 || count < 0 || count > kMaxGeneratedExercises) return std::nullopt;
  const bool layout_b = type == 34 || type == 38;
  const int32_t interval = layout_b ? 2 : 1;
  std::vector<std::vector<uint8_t>> files;
  for (int32_t n = 0; n < count; ++n) {
    const Session s = SessionOf(n);
    FileExercise x;
    x.type = type;
    x.version = variant;
    x.product_code = static_cast<uint8_t>(product_code);
    x.name = "Ex" + std::to_string(n + 1);
    x.year = 2026;
    x.month = 11;
    x.day = s.day;
    x.start_seconds = s.hour * 3600;
    x.speed = true;
    const int32_t samples = s.samples * kSampleSeconds / interval;
    x.duration_tenths = samples * interval * 10;
    x.segments = {{interval, {}}};
    for (int32_t i = 0; i < samples; ++i) {
      FileSample sample;
      sample.heart_rate = HeartRate(i, s.level);
      sample.speed = 5 * (20 + i % 10);  // 10 to 14.5 km/h
      x.segments[0].records.push_back(sample);
    }
    for (int32_t k = 1; k <= 2; ++k)
      x.laps.push_back({x.duration_tenths * k / 3, false, 150, 140, 160, 2560, 2560, 4000 * k});
    files.push_back(EncodeFileExercise(x));
  }
  return files;
}

std::vector<uint8_t> GeneratedWholeMemory(int32_t type, int32_t product_code, int32_t count) {
  if (count < 0 || count > kMaxGeneratedExercises) return {};
  const auto code = static_cast<uint8_t>(product_code);
  if (codec::IsKSeries(type)) return KSeriesWholeImage(Many(count, KSeries), type, code, 0);
  if (codec::IsOutdoor(type)) return OutdoorWholeImage(Many(count, Outdoor), type, code);
  return {};
}

}  // namespace quibra::sim

// Layout A (types 33, 35, 36, 37).
#include "sim/encoders/prvc_file_encoder.h"

namespace quibra::sim {
namespace {

using namespace file_layout;

bool Is(const FileExercise& e, int32_t a, int32_t b = 0, int32_t c = 0) {
  return e.type == a || e.type == b || e.type == c;
}

bool FromVersion4(const FileExercise& e) {
  return e.type != 37 || e.version >= 4;
}

constexpr std::array<int32_t, 4> kIntervals = {1, 5, 15, 60};

void AppendSummary(Bytes& out, const FileExercise& e) {
  if (e.speed) {
    Append16(out, e.max_speed);
    Append16(out, e.average_speed);
    AppendDistance(out, e.distance_quarters);
  }
  if (e.trip) {
    for (int32_t v = e.trip_value, i = 0; i < 4; ++i, v /= 100)
      Append8(out, Bcd(v % 100));
  }
  if (Is(e, 37)) Append16(out, 0);
  if (Is(e, 33, 35, 37)) {
    Append8(out, e.cadence_average);
    Append8(out, e.cadence_max);
  }
  if (Is(e, 33, 35)) Append16(out, e.altitudes[0] + 768);
  if (Is(e, 33, 35, 37)) {
    const size_t at = out.size();
    if (e.altitude) AppendAltitudeSummary(out, e);
    out.resize(at + 17, 0);
  }
  if (Is(e, 35)) {
    const size_t at = out.size();
    if (e.power) {
      Append16(out, e.power_average);
      Append16(out, e.power_max);
    }
    out.resize(at + 8, 0);
  }
  if (Is(e, 36, 37)) Append8(out, 0);
  if (Is(e, 33, 35)) out.resize(out.size() + 16, 0);
  if (Is(e, 36, 37)) {
    out.resize(out.size() + 11, 0);
    Append16(out, e.scale);
  }
  if (FromVersion4(e)) Append8(out, e.byte167);
  AppendZoneGroup(out, e);
}

void AppendSampleA(Bytes& out, const FileExercise& e, const FileSample& s, int32_t interval) {
  AppendRecord(out, e, s, interval >= 15, FromVersion4(e));
}

// Type 37 keeps its cadences in the speed group and writes no power; types 33 and 35 keep a
// temperature and the descent with the altitude.
void AppendLapA(Bytes& out, const FileExercise& e, const FileLap& l) {
  AppendLap(out, e, l, l.tenths,
            {.speed_cadence = Is(e, 37),
             .temperature = Is(e, 33, 35),
             .descent = Is(e, 33, 35),
             .power = !Is(e, 37),
             .power_gap = 2});
}

}  // namespace

Bytes EncodeFileExerciseA(const FileExercise& e) {
  // Bit 2 of the interval byte marks an R-R capable unit, bit 3 samples left incomplete.
  return EncodeFile(e, {false, kIntervals, 0x04, 0x08, AppendSummary, AppendSampleA, AppendLapA});
}

}  // namespace quibra::sim

// Layout A (types 33, 35, 36, 37).
#include <cmath>

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

int32_t IntervalCode(int32_t interval) {
  switch (interval) {
    case 5:
      return 1;
    case 15:
      return 2;
    case 60:
      return 3;
    default:
      return 0;
  }
}

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
    if (e.altitude) {
      for (const int32_t a : e.altitudes)
        Append16(out, a + 768);
      for (const int32_t t : e.temperatures)
        Append8(out, t);
      Append16(out, e.ascent_feet);
      Append16(out, e.descent_feet);
    }
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

void AppendRecord(Bytes& out, const FileExercise& e, const FileSample& s, int32_t interval) {
  if (!e.rr_capable) Append8(out, s.heart_rate);
  if (e.altitude) Append16(out, static_cast<int32_t>(std::lround(s.altitude / 0.3048)));
  if (e.speed) {
    if (interval >= 15) {
      Append16(out, static_cast<int32_t>(std::lround(s.speed * 1.6)));
    } else {
      Append8(out, s.speed / 5);
    }
    if (FromVersion4(e)) Append16(out, s.distance);
  }
  if (e.cadence && !e.extra) Append8(out, s.cadence);
  if (e.extra) {
    Append16(out, s.first);
    Append8(out, (s.first >> 16) | s.nibble << 4);
    Append8(out, s.first_byte);
    Append16(out, s.second);
    Append8(out, (s.second >> 16) | s.two_bits << 4 | s.one_bit << 6);
    Append8(out, s.second_byte);
  }
  if (e.power) {
    Append16(out, s.power);
    Append16(out, s.pedalling);
  }
}

void AppendLap(Bytes& out, const FileExercise& e, const FileLap& l) {
  const size_t at = out.size();
  out.resize(at + 3);
  PutPackedTime(out, at, l.tenths, Hours::kBinary);
  if (l.second_kind) out[at + 2] |= 0x80;
  Append8(out, l.heart_rate);
  Append8(out, l.average);
  Append8(out, l.maximum);
  if (e.speed) {
    Append16(out, l.speed);
    Append16(out, l.average_speed);
    AppendDistance(out, l.distance_quarters);
    if (Is(e, 37)) {
      Append16(out, l.cadence_value);
      Append8(out, l.cadence);
      Append8(out, l.average_cadence);
    }
  }
  const bool cadence = e.cadence && !e.extra;
  if (cadence && !Is(e, 37)) {
    Append8(out, l.cadence);
    Append8(out, l.average_cadence);
  }
  if (e.altitude) {
    Append16(out, l.altitude + 768);
    if (Is(e, 33, 35)) Append8(out, l.temperature);
    Append16(out, l.ascent_feet);
    if (Is(e, 33, 35)) Append16(out, l.descent_feet);
  }
  if (e.power && !Is(e, 37)) {
    Append16(out, l.power);
    Append16(out, l.power_value);
    Append16(out, 0);
    Append8(out, l.pedal_a);
    Append8(out, l.pedal_b);
  }
}

}  // namespace

Bytes EncodeFileExerciseA(const FileExercise& e) {
  const int32_t first = e.segments.empty() ? 1 : e.segments.front().interval;
  Bytes out;
  AppendFront(out, e, IntervalCode(first) | (e.rr_capable ? 0x04 : 0) | (e.incomplete ? 0x08 : 0));
  AppendSummary(out, e);

  std::array<Bytes, 3> data;
  int32_t interval = first;
  for (const FileSegment& segment : e.segments) {
    while (interval < segment.interval) {
      Bytes marker;
      AppendRecord(marker, e, FileSample{}, interval);
      data[0].insert(data[0].end(), marker.size(), 0xFF);
      interval = NextCoarser(interval, false);
    }
    for (const FileSample& s : segment.records)
      AppendRecord(data[0], e, s, interval);
  }
  for (const int32_t ms : e.rr_ms)
    Append16(data[2], ms);
  AppendPagedData(out, data);
  for (auto lap = e.laps.rbegin(); lap != e.laps.rend(); ++lap)
    AppendLap(out, e, *lap);
  return out;
}

}  // namespace quibra::sim
